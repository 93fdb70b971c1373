#pragma once

#include <QDialog>

namespace vesk {

// A sheet: a window-modal dialog over its parent window, showing one content
// view edge to edge, gone once closed.
class SheetDialog final : public QDialog {
    Q_OBJECT

public:
    SheetDialog(QWidget* parentWindow, QWidget* content);
};

} // namespace vesk
