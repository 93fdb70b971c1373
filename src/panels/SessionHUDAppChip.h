#pragma once

#include "panels/SessionHUDAppDisplay.h"
#include "ui/FittedText.h"
#include "ui/Localizer.h"

#include <QColor>
#include <QWidget>

#include <functional>

namespace vesk {

// One allowed application in the HUD's strip, 80 × 30: icon, name and where
// its windows are, on a fill that tells the state. A chip of an application
// that is not visible is a button that brings it back.
class SessionHUDAppChip final : public QWidget {
    Q_OBJECT

public:
    static constexpr int width = 80;
    static constexpr int height = 30;

    SessionHUDAppChip(SessionHUDAppDisplay display, std::function<void()> onRestore, const Localizer& localizer,
                      QWidget* parent = nullptr);

    const SessionHUDAppDisplay& display() const { return display_; }
    bool isButton() const { return display_.visibility != AllowedAppVisibility::visible; }
    const QString& stateLabel() const { return label_; }
    // The label as set in the chip's text column.
    FittedText fittedLabel() const;

    // The state's label (the German text, the lookup's key), its colour and the chip's fill.
    static const char* labelKey(AllowedAppVisibility visibility);
    static QColor labelColor(AllowedAppVisibility visibility);
    static QColor fill(AllowedAppVisibility visibility);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Where the name and label start, right of the icon.
    static double textLeft();

    SessionHUDAppDisplay display_;
    std::function<void()> onRestore_;
    QString label_;
};

} // namespace vesk
