#pragma once

#include "ui/Localizer.h"

#include <QWidget>

class QLabel;

namespace vesk {

// "Über VESK": the application's name with its version and build, as the
// main bundle gives them ("?" for a missing entry). Ctrl+W closes it.
class AboutWindow final : public QWidget {
    Q_OBJECT

public:
    explicit AboutWindow(QWidget* parent = nullptr);

    // The title and the version line in the localizer's language.
    void retranslate(const Localizer& localizer);

private:
    QLabel* version_ = nullptr;
};

} // namespace vesk
