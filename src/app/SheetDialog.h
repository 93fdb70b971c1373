#pragma once

#include "app/OwnWindowListing.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace vesk {

// A sheet: a window-modal dialog over its parent window, showing one content
// view edge to edge, gone once closed.
class SheetDialog final : public QDialog {
    Q_OBJECT

public:
    // Lists a window in the desktop's window list, so that a screen capture
    // shows it; none where nothing is listed.
    using ListWindow = std::function<std::unique_ptr<OwnWindowListing>(QWidget& window)>;

    SheetDialog(QWidget* parentWindow, QWidget* content, const ListWindow& listWindow = {});
    ~SheetDialog() override;

private:
    std::unique_ptr<OwnWindowListing> listing_;
};

} // namespace vesk
