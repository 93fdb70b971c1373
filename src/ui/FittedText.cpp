#include "ui/FittedText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <limits>

namespace vesk {

namespace {

QFont fontAtScale(const TextStyle& style, double scale)
{
    QFont font = VeskFont::resized(style.font, VeskFont::pointSize(style.font) * scale);
    if (style.tracking != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, style.tracking * scale);
    return font;
}

struct Line {
    int start = 0;
    int length = 0;
    double width = 0;
};

// Breaks the text at word boundaries (anywhere inside a word longer than the
// width) into lines no wider than `width`; unlimited width keeps the text's
// own line breaks only.
std::vector<Line> breakLines(const QString& text, const QFont& font, double width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(width > 0 ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    layout.setTextOption(option);
    std::vector<Line> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width > 0 ? width : std::numeric_limits<float>::max() / 4);
        lines.push_back({line.textStart(), line.textLength(), line.naturalTextWidth()});
    }
    layout.endLayout();
    return lines;
}

QString lineText(const QString& text, const Line& line)
{
    QString result = text.mid(line.start, line.length);
    while (!result.isEmpty() && (result.back().isSpace() || result.back() == QChar::LineSeparator))
        result.chop(1);
    return result;
}

bool fitsLineLimit(std::size_t lineCount, const TextStyle& style)
{
    return style.lineLimit <= 0 || lineCount <= static_cast<std::size_t>(style.lineLimit);
}

FittedText makeFitted(const QString& text, const std::vector<Line>& lines, const QFont& font, double scale,
                      const TextStyle& style)
{
    FittedText fitted;
    fitted.font = font;
    fitted.scale = scale;
    fitted.alignment = style.alignment;
    fitted.lineHeight = QFontMetricsF(font).lineSpacing();
    double widest = 0;
    for (const Line& line : lines) {
        fitted.lines << lineText(text, line);
        widest = std::max(widest, line.width);
    }
    const auto count = static_cast<double>(fitted.lines.size());
    const double spacing = style.lineSpacing * scale;
    fitted.size = QSizeF(widest, count * fitted.lineHeight + std::max(0.0, count - 1) * spacing);
    return fitted;
}

} // namespace

FittedText FittedText::fit(const QString& text, const TextStyle& style, double width)
{
    QString shown = style.uppercase ? text.toUpper() : text;
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);

    const auto linesAt = [&](double scale) { return breakLines(shown, fontAtScale(style, scale), width); };

    std::vector<Line> lines = linesAt(1.0);
    if (fitsLineLimit(lines.size(), style) || width <= 0)
        return makeFitted(shown, lines, fontAtScale(style, 1.0), 1.0, style);

    // Shrink: the largest scale (to a hundredth) at which the text fits.
    const double minimum = std::clamp(style.minimumScaleFactor, 0.01, 1.0);
    if (minimum < 1.0 && fitsLineLimit(linesAt(minimum).size(), style)) {
        double low = minimum;
        double high = 1.0;
        while (high - low > 0.005) {
            const double middle = (low + high) / 2;
            (fitsLineLimit(linesAt(middle).size(), style) ? low : high) = middle;
        }
        return makeFitted(shown, linesAt(low), fontAtScale(style, low), low, style);
    }

    // Truncate: the lines before the last allowed one stay, the last one
    // takes the rest of the text and ends in "…".
    const QFont font = fontAtScale(style, minimum);
    lines = linesAt(minimum);
    const auto kept = static_cast<std::size_t>(style.lineLimit);
    Line& last = lines[kept - 1];
    const QString rest = shown.mid(last.start).simplified();
    const QFontMetricsF metrics(font);
    const QString elided = metrics.elidedText(rest, Qt::ElideRight, width);
    lines.resize(kept);
    FittedText fitted = makeFitted(shown, lines, font, minimum, style);
    fitted.lines.back() = elided;
    fitted.size.setWidth(std::max(fitted.size.width(), std::min(width, metrics.horizontalAdvance(elided))));
    fitted.truncated = true;
    return fitted;
}

void FittedText::paint(QPainter& painter, const QRectF& rect, const QColor& color) const
{
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    const QFontMetricsF metrics(font);
    const double spacing = lines.size() > 1 ? (size.height() - lines.size() * lineHeight) / (lines.size() - 1) : 0;
    double top = rect.top() + (rect.height() - size.height()) / 2;
    for (const QString& line : lines) {
        const double lineWidth = metrics.horizontalAdvance(line);
        double left = rect.left();
        if (alignment & Qt::AlignHCenter)
            left += (rect.width() - lineWidth) / 2;
        else if (alignment & Qt::AlignRight)
            left += rect.width() - lineWidth;
        painter.drawText(QPointF(left, top + metrics.ascent()), line);
        top += lineHeight + spacing;
    }
    painter.restore();
}

} // namespace vesk
