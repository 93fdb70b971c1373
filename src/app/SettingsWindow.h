#pragma once

#include "app/SettingsView.h"

#include <QWidget>

namespace vesk {

// The settings window: the settings view in a window of its size, labelled
// in the window's locale and labelled again when the locale changes. Ctrl+W
// closes it.
class SettingsWindow final : public QWidget {
    Q_OBJECT

public:
    explicit SettingsWindow(SettingsView::Services services, QWidget* parent = nullptr);

    SettingsView& view() const { return *view_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    SettingsView* view_ = nullptr;
};

} // namespace vesk
