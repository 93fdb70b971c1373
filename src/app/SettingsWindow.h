#pragma once

#include <QWidget>

namespace vesk {

// The settings window: a placeholder with the version, the build and the
// privacy-policy link until the settings screen exists.
class SettingsWindow final : public QWidget {
    Q_OBJECT

public:
    explicit SettingsWindow(QWidget* parent = nullptr);
};

} // namespace vesk
