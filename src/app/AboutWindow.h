#pragma once

#include "ui/Localizer.h"

#include <QWidget>

class QLabel;

namespace vesk {

// "Über VESK": the Vesk symbol, the name, "Version <short version> (<build>)"
// as the main bundle gives them ("?" for a missing entry) and the copyright
// line, centred on the application's dark window background; under the
// version, the desktop Vesk runs on when one is named (its German name,
// translated here). Its size is fixed; Ctrl+W and Escape close it.
class AboutWindow final : public QWidget {
    Q_OBJECT

public:
    static constexpr int windowWidth = 300;
    static constexpr int windowHeight = 290;
    static constexpr double symbolSide = 104;

    explicit AboutWindow(QString desktopName = QString(), QWidget* parent = nullptr);

    // The title, the version line and the copyright in the localizer's language.
    void retranslate(const Localizer& localizer);

    // Where the symbol is painted, in the window's coordinates.
    QRectF symbolRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString desktopName_;
    QLabel* version_ = nullptr;
    QLabel* desktop_ = nullptr;
    QLabel* copyright_ = nullptr;
};

} // namespace vesk
