#pragma once

#include <QWidget>

namespace vesk {

// "Über VESK": the application's name with its version and build, as the
// main bundle gives them ("?" for a missing entry).
class AboutWindow final : public QWidget {
    Q_OBJECT

public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

} // namespace vesk
