#include "panels/StageVeskAppTile.h"

#include "panels/StageVeskDrawing.h"
#include "panels/StageVeskPalette.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace vesk {

namespace {

using namespace stagepalette;

constexpr double padding = 6;
constexpr double iconSide = 24;
constexpr double iconTextSpacing = 8;

} // namespace

StageVeskAppTile::StageVeskAppTile(const Content& content, QWidget* parent) : QAbstractButton(parent), content_(content)
{
    setText(content.displayName);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(content.isCollapsed ? QSizePolicy::Fixed : QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QString StageVeskAppTile::initial(const QString& displayName)
{
    if (displayName.isEmpty())
        return {};
    const int length = displayName.at(0).isHighSurrogate() && displayName.size() > 1 ? 2 : 1;
    return displayName.left(length).toUpper();
}

QSize StageVeskAppTile::sizeHint() const
{
    const int side = int(iconSide + 2 * padding);
    return {side, side};
}

void StageVeskAppTile::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    QPainterPath shape;
    shape.addRoundedRect(bounds, 8, 8);
    painter.fillPath(shape, tileGrey(content_.isParked ? 0.48 : 0.82));

    const QRectF iconBox(bounds.left() + padding, bounds.center().y() - iconSide / 2, iconSide, iconSide);
    paintIcon(painter, iconBox);
    if (content_.isCollapsed)
        return;

    const double textLeft = iconBox.right() + iconTextSpacing;
    const double textWidth = std::max(0.0, bounds.right() - padding - textLeft);
    const QFont nameFont = stageFont(11, QFont::DemiBold);
    const QFont statusFont = stageFont(9, QFont::Normal);
    const QFontMetricsF nameMetrics(nameFont);
    const QFontMetricsF statusMetrics(statusFont);
    const double textHeight = nameMetrics.height() + 1 + statusMetrics.height();
    const double top = bounds.center().y() - textHeight / 2;
    painter.setFont(nameFont);
    painter.setPen(white(0.88));
    painter.drawText(QRectF(textLeft, top, textWidth, nameMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     nameMetrics.elidedText(content_.displayName, Qt::ElideRight, textWidth));
    painter.setFont(statusFont);
    painter.setPen(content_.statusColor);
    painter.drawText(QRectF(textLeft, top + nameMetrics.height() + 1, textWidth, statusMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     statusMetrics.elidedText(content_.status, Qt::ElideRight, textWidth));
}

void StageVeskAppTile::paintIcon(QPainter& painter, const QRectF& box) const
{
    QPainterPath clip;
    clip.addRoundedRect(box, 5, 5);
    if (!content_.icon.isNull()) {
        painter.save();
        painter.setClipPath(clip);
        painter.drawImage(box, content_.icon);
        painter.restore();
        return;
    }
    painter.fillPath(clip, orange(0.18));
    painter.setFont(stageFont(11, QFont::Bold));
    painter.setPen(orange());
    painter.drawText(box, Qt::AlignCenter, initial(content_.displayName));
}

} // namespace vesk
