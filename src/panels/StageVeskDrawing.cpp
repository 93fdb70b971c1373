#include "panels/StageVeskDrawing.h"

#include "ui/VeskFont.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace vesk {

QFont stageFont(double pointSize, QFont::Weight weight, bool monospaced, double tracking)
{
    QFont font = monospaced ? VeskFont::monospaced(pointSize, weight) : VeskFont::interface(pointSize, weight);
    if (tracking != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
    return font;
}

QLabel* stageLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    setLabelColor(*label, color);
    return label;
}

void setLabelColor(QLabel& label, const QColor& color)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, color);
    label.setPalette(palette);
}

QString stageScrollAreaStyleSheet()
{
    return QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }"
                          "QScrollBar:vertical { width: 6px; background: transparent; margin: 0; }"
                          "QScrollBar::handle:vertical { background: rgba(255, 255, 255, 64); border-radius: 3px; "
                          "min-height: 24px; }"
                          "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
                          "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }");
}

void paintRoundedCard(QPainter& painter, const QRectF& bounds, double radius, const QColor& fill, const QColor& outline)
{
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(bounds, radius, radius);
    painter.fillPath(shape, fill);
    painter.setPen(QPen(outline, 1));
    painter.drawRoundedRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

} // namespace vesk
