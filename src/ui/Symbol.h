#pragma once

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPixmap>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

namespace vesk {

// The interface's symbols, drawn by Vesk itself. Each has the dotted name
// the layouts use ("xmark.circle.fill"). A symbol at a point size occupies a
// square of symbolSide(pointSize); its strokes follow the weight, as a font's
// glyphs do.
enum class Symbol {
    cameraFill,                  // camera.fill
    xmarkCircleFill,             // xmark.circle.fill
    xmark,                       // xmark
    plus,                        // plus
    magnifyingglass,             // magnifyingglass
    exclamationmarkTriangleFill, // exclamationmark.triangle.fill
    exclamationmarkTriangle,     // exclamationmark.triangle
    exclamationmarkBubble,       // exclamationmark.bubble
    clockArrowCirclepath,        // clock.arrow.circlepath
    gearshape,                   // gearshape
    lockShield,                  // lock.shield
    lockFill,                    // lock.fill
    checkmark,                   // checkmark
    checkmarkCircle,             // checkmark.circle
    eyeSlash,                    // eye.slash
    folder,                      // folder
    arrowDownCircle,             // arrow.down.circle
    arrowClockwise,              // arrow.clockwise
    paintbrush,                  // paintbrush
    rectangle3Group,             // rectangle.3.group
    rectangleOnRectangle,        // rectangle.on.rectangle
    speakerWave2,                // speaker.wave.2
};

const std::vector<Symbol>& allSymbols();
QString symbolName(Symbol symbol);
std::optional<Symbol> symbolNamed(const QString& name);

// The edge of the square a symbol occupies at a point size.
double symbolSide(double pointSize);

// The symbol's filled outline in a 24 × 24 box.
QPainterPath symbolPath(Symbol symbol, QFont::Weight weight = QFont::Normal);

// Fills the symbol into the square `box` in one colour.
void paintSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& color,
                 QFont::Weight weight = QFont::Normal);

// The symbol at a point size as a pixmap of symbolSide(pointSize) points,
// rounded up to whole pixels.
QPixmap symbolPixmap(Symbol symbol, double pointSize, const QColor& color, QFont::Weight weight = QFont::Normal,
                     double devicePixelRatio = 1.0);

} // namespace vesk
