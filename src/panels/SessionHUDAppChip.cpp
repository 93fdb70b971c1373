#include "panels/SessionHUDAppChip.h"

#include "panels/SystemColor.h"
#include "ui/FittedText.h"
#include "ui/Gradient.h"
#include "ui/Shapes.h"
#include "ui/VeskFont.h"

#include <QMouseEvent>
#include <QPainter>

namespace vesk {

namespace {

constexpr double horizontalPadding = 7;
constexpr double iconSide = 16;
constexpr double iconSpacing = 5;
constexpr double lineSpacing = 1;

TextStyle nameStyle()
{
    return {.font = VeskFont::interface(10, QFont::DemiBold)};
}

TextStyle labelStyle()
{
    return {.font = VeskFont::interface(8, QFont::DemiBold), .minimumScaleFactor = 0.75};
}

// For a label that does not fit on one line: two a little smaller, set close,
// so that they stay beneath the name.
TextStyle twoLineLabelStyle()
{
    return {.font = VeskFont::interface(7, QFont::DemiBold),
            .lineLimit = 2,
            .minimumScaleFactor = 0.8,
            .lineSpacing = -1};
}

} // namespace

SessionHUDAppChip::SessionHUDAppChip(SessionHUDAppDisplay display, std::function<void()> onRestore,
                                     const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , display_(std::move(display))
    , onRestore_(std::move(onRestore))
    , label_(localizer.translate("SessionHUDAppChip", labelKey(display_.visibility)))
{
    setFixedSize(width, height);
    if (isButton()) {
        const QString hint = localizer.translate("SessionHUDAppChip", "%1 öffnen").arg(display_.name);
        setToolTip(hint);
        setAccessibleName(hint);
    } else {
        setAccessibleName(display_.name);
    }
}

const char* SessionHUDAppChip::labelKey(AllowedAppVisibility visibility)
{
    switch (visibility) {
    case AllowedAppVisibility::visible:
        return QT_TRANSLATE_NOOP("SessionHUDAppChip", "Sichtbar");
    case AllowedAppVisibility::occluded:
        return QT_TRANSLATE_NOOP("SessionHUDAppChip", "Verdeckt");
    case AllowedAppVisibility::minimized:
        return QT_TRANSLATE_NOOP("SessionHUDAppChip", "Minimiert");
    case AllowedAppVisibility::onOtherSpace:
        return QT_TRANSLATE_NOOP("SessionHUDAppChip", "Auf anderem Schreibtisch");
    case AllowedAppVisibility::notRunning:
        return QT_TRANSLATE_NOOP("SessionHUDAppChip", "Nicht gestartet");
    }
    return "";
}

QColor SessionHUDAppChip::labelColor(AllowedAppVisibility visibility)
{
    switch (visibility) {
    case AllowedAppVisibility::visible:
        return systemColor(SystemColor::green, 0.72);
    case AllowedAppVisibility::occluded:
        return systemColor(SystemColor::orange, 0.86);
    case AllowedAppVisibility::minimized:
        return systemColor(SystemColor::yellow, 0.82);
    case AllowedAppVisibility::onOtherSpace:
        return systemColor(SystemColor::cyan, 0.82);
    case AllowedAppVisibility::notRunning:
        return rgb(255, 255, 255, 0.5);
    }
    return {};
}

QColor SessionHUDAppChip::fill(AllowedAppVisibility visibility)
{
    switch (visibility) {
    case AllowedAppVisibility::visible:
        return rgb(255, 255, 255, 0.07);
    case AllowedAppVisibility::occluded:
        return systemColor(SystemColor::orange, 0.12);
    case AllowedAppVisibility::minimized:
        return systemColor(SystemColor::yellow, 0.1);
    case AllowedAppVisibility::onOtherSpace:
        return systemColor(SystemColor::cyan, 0.1);
    case AllowedAppVisibility::notRunning:
        return rgb(255, 255, 255, 0.045);
    }
    return {};
}

double SessionHUDAppChip::textLeft()
{
    return horizontalPadding + iconSide + iconSpacing;
}

// A label too long for the chip's narrow column even shrunk on one line
// ("Auf anderem Schreibtisch") takes a second one, so that it reads in full.
FittedText SessionHUDAppChip::fittedLabel() const
{
    const double column = width - horizontalPadding - textLeft();
    const FittedText oneLine = FittedText::fit(label_, labelStyle(), column);
    return oneLine.truncated ? FittedText::fit(label_, twoLineLabelStyle(), column) : oneLine;
}

void SessionHUDAppChip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF bounds = rect();
    painter.fillPath(continuousRoundedRect(bounds, 8), fill(display_.visibility));

    const QRectF icon(horizontalPadding, (bounds.height() - iconSide) / 2, iconSide, iconSide);
    painter.drawImage(icon, display_.icon);

    const double textWidth = bounds.width() - horizontalPadding - textLeft();
    const FittedText name = FittedText::fit(display_.name, nameStyle(), textWidth);
    const FittedText label = fittedLabel();
    const double blockHeight = name.size.height() + lineSpacing + label.size.height();
    const double top = (bounds.height() - blockHeight) / 2;
    name.paint(painter, QRectF(textLeft(), top, textWidth, name.size.height()), rgb(255, 255, 255, 0.86));
    label.paint(painter, QRectF(textLeft(), top + name.size.height() + lineSpacing, textWidth, label.size.height()),
                labelColor(display_.visibility));
}

void SessionHUDAppChip::mouseReleaseEvent(QMouseEvent* event)
{
    if (isButton() && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onRestore_)
        onRestore_();
}

} // namespace vesk
