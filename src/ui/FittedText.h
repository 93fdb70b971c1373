#pragma once

#include "ui/TextStyle.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QStringList>

class QPainter;

namespace vesk {

// A text set in a style for a width: wrapped at word boundaries into at most
// the style's line limit, shrunk towards its minimum scale factor when it
// does not fit, and cut at the tail only when it still does not fit.
struct FittedText {
    QStringList lines;
    QFont font;       // the style's font at `scale`, with the tracking applied
    double scale = 1; // the factor the font was shrunk by
    bool truncated = false;
    QSizeF size; // of the set lines, in points
    double lineHeight = 0;
    Qt::Alignment alignment = Qt::AlignLeft;

    // `width` in points; a width of 0 or less sets the text on its natural lines.
    static FittedText fit(const QString& text, const TextStyle& style, double width);

    // Draws the lines into `rect`: aligned as the style says, the block
    // centred vertically.
    void paint(QPainter& painter, const QRectF& rect, const QColor& color) const;
};

} // namespace vesk
