#pragma once

#include "ui/VeskTheme.h"

#include <QColor>
#include <QFont>
#include <QString>

class QScrollArea;
class QScrollBar;
class QWidget;

namespace vesk {

class TextLabel;

// Small pieces the reflection card and the history build their widgets from.

// A text in one font and colour, on at most `lineLimit` lines (0: no limit).
TextLabel* screenLabel(const QString& text, const QFont& font, const QColor& color, int lineLimit = 1,
                       double tracking = 0, Qt::Alignment alignment = Qt::AlignLeft);

// A one-point rule in `color`.
QWidget* screenRule(const QColor& color);

// A thin vertical scroll bar in the palette's greys.
void styleScrollBar(QScrollBar& bar, const VeskTheme& theme);

// A vertical scroll area over the panel's own background: no frame, no
// horizontal scrolling, a thin scroll bar in the palette's greys.
void styleScrollArea(QScrollArea& area, const VeskTheme& theme);

} // namespace vesk
