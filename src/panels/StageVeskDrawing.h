#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QLabel;
class QPainter;
class QWidget;

namespace vesk {

// The type of the stage bars: the interface font, or the monospaced one,
// at a size and weight, with letter tracking in points.
QFont stageFont(double pointSize, QFont::Weight weight, bool monospaced = false, double tracking = 0);

// A one-line text in one colour.
QLabel* stageLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent);
void setLabelColor(QLabel& label, const QColor& color);

// A clear scroll area whose vertical indicator is a thin light capsule.
QString stageScrollAreaStyleSheet();

// The bars' card: a rounded rectangle filled in one colour and outlined by a
// 1 pt line inside its edge.
void paintRoundedCard(QPainter& painter, const QRectF& bounds, double radius, const QColor& fill,
                      const QColor& outline);

} // namespace vesk
