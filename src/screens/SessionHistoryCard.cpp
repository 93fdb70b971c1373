#include "screens/SessionHistoryCard.h"

#include "core/Clock.h"
#include "platform/FileBrowsing.h"
#include "platform/Workspace.h"
#include "ui/Gradient.h"
#include "ui/Shapes.h"
#include "ui/VeskFont.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace vesk {

namespace {

constexpr double paddingTop = 12;
constexpr double paddingSide = 14;
constexpr double paddingBottom = 12;
constexpr double appsTop = 10;
constexpr double iconSize = 22;
constexpr double answersTop = 11;
constexpr double noteGap = 10;

QFont dateFont()
{
    return VeskFont::interface(12.5, QFont::DemiBold);
}
QFont durationFont()
{
    return VeskFont::monospaced(12.5, QFont::DemiBold);
}
QFont pillFont()
{
    return VeskFont::interface(10, QFont::DemiBold);
}
QFont summaryFont()
{
    return VeskFont::interface(11);
}
QFont goalFont()
{
    return VeskFont::interface(12.5, QFont::Medium);
}
QFont answerFont(QFont::Weight weight = QFont::Normal)
{
    return VeskFont::interface(10.5, weight);
}

TextStyle noteStyle()
{
    TextStyle style;
    style.font = VeskFont::interface(11.5);
    style.font.setItalic(true);
    style.lineLimit = 0;
    return style;
}

double lineHeight(const QFont& font)
{
    return QFontMetricsF(font).height();
}

double pillHeight()
{
    return lineHeight(pillFont()) + 4;
}

double headlineHeight()
{
    return std::max({lineHeight(dateFont()), lineHeight(durationFont()), pillHeight()});
}

double answersHeight()
{
    return std::max(lineHeight(goalFont()), lineHeight(answerFont()));
}

// The dot's shadow: its colour fading out over three points beyond its edge,
// drawn directly so that it needs no offscreen layer per card.
void paintGlow(QPainter& painter, const QPointF& center, double radius, const QColor& color)
{
    const double reach = radius + 3 * 2;
    QRadialGradient glow(center, reach);
    glow.setColorAt(0, color);
    glow.setColorAt(radius / reach, color);
    glow.setColorAt(1, withOpacity(color, 0));
    painter.fillPath(ellipse(center, 2 * reach, 2 * reach), glow);
}

QString quotedNote(const QString& note)
{
    return QStringLiteral("„") + note + QStringLiteral("“");
}

double textWidth(const QString& text, const QFont& font)
{
    return QFontMetricsF(font).horizontalAdvance(text);
}

// Draws `text` on one line from `left`, centred on `midY`; returns its right edge.
double drawLine(QPainter& painter, const QString& text, const QFont& font, const QColor& color, double left,
                double midY, double maximumWidth = -1)
{
    const QFontMetricsF metrics(font);
    const QString shown = maximumWidth >= 0 ? metrics.elidedText(text, Qt::ElideRight, maximumWidth) : text;
    painter.setFont(font);
    painter.setPen(color);
    const double baseline = midY + (metrics.ascent() - metrics.descent()) / 2;
    painter.drawText(QPointF(left, baseline), shown);
    return left + metrics.horizontalAdvance(shown);
}

void paintAppIcon(QPainter& painter, const QRectF& box, const QString& bundleID, const AppDirectory& apps,
                  const VeskTheme& theme)
{
    const QPainterPath clip = continuousRoundedRect(box, 6);
    QImage icon;
    if (const auto location = apps.workspace.urlForApplication(bundleID))
        icon = apps.files.iconForFile(*location);
    painter.save();
    painter.setClipPath(clip);
    if (icon.isNull()) {
        painter.fillPath(clip, theme.insetStrong);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(box, icon);
    }
    painter.restore();
}

} // namespace

QColor SessionHistoryCard::answerColor(std::optional<GoalStatus> status, const VeskTheme& theme)
{
    if (!status)
        return theme.textMuted;
    switch (*status) {
    case GoalStatus::done:
        return theme.ok;
    case GoalStatus::partial:
        return theme.warn;
    case GoalStatus::failed:
        return theme.danger;
    }
    return theme.textMuted;
}

QColor SessionHistoryCard::answerColor(std::optional<VeskHelpful> helpful, const VeskTheme& theme)
{
    if (!helpful)
        return theme.textMuted;
    switch (*helpful) {
    case VeskHelpful::yes:
        return theme.ok;
    case VeskHelpful::somewhat:
        return theme.warn;
    case VeskHelpful::no:
        return theme.danger;
    }
    return theme.textMuted;
}

SessionHistoryCard::SessionHistoryCard(const FocusSession& session, const SessionHistoryCardContext& context)
    : context_(context)
    , dateText_(dateLabel(session, context.localizer.locale(), historyTimeZone()))
    , durationText_(durationClockText(effectiveDurationSeconds(session, context.clock.now())))
    , endReasonText_(endReasonLabel(session, context.localizer))
    , isAlertPill_(session.endReason == QStringLiteral("emergencyExit"))
    , iconBundleIDs_(shownAppBundleIDs(session).mid(0, shownIconCount))
    , appsSummary_(allowedAppsSummary(session, context.localizer, context.apps))
    , goalText_(trimmedGoalText(session))
    , goalStatusText_(goalStatusLabel(session, context.localizer))
    , goalStatusColor_(answerColor(session.goalStatus, context.theme))
    , helpfulText_(veskHelpfulLabel(session, context.localizer))
    , helpfulColor_(answerColor(session.veskHelpful, context.theme))
    , noteText_(trimmedGoalNote(session))
{
}

double SessionHistoryCard::height(const FocusSession& session, double width)
{
    double height = paddingTop + headlineHeight() + appsTop + iconSize + answersTop + answersHeight() + paddingBottom;
    if (const auto note = trimmedGoalNote(session)) {
        const FittedText text = FittedText::fit(quotedNote(*note), noteStyle(), width - 2 * paddingSide);
        height += noteGap + 1 + noteGap + text.size.height();
    }
    return height;
}

void SessionHistoryCard::paint(QPainter& painter, const QRectF& rect) const
{
    const VeskTheme& theme = context_.theme;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath outline = continuousRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 11);
    painter.fillPath(outline, theme.inset);
    painter.strokePath(outline, strokePen(theme.hairline, 1));

    const QRectF inner = rect.adjusted(paddingSide, paddingTop, -paddingSide, -paddingBottom);
    double top = inner.top();
    paintHeadline(painter, QRectF(inner.left(), top, inner.width(), headlineHeight()));
    top += headlineHeight() + appsTop;
    paintApps(painter, QRectF(inner.left(), top, inner.width(), iconSize));
    top += iconSize + answersTop;
    paintAnswers(painter, QRectF(inner.left(), top, inner.width(), answersHeight()));
    top += answersHeight();
    if (noteText_)
        paintNote(painter, QRectF(inner.left(), top, inner.width(), inner.bottom() - top));
    painter.restore();
}

void SessionHistoryCard::paintHeadline(QPainter& painter, const QRectF& line) const
{
    const VeskTheme& theme = context_.theme;
    const QColor pillColor = isAlertPill_ ? theme.danger : theme.textMuted;
    const double pillWidth = 8 + 5 + 5 + textWidth(endReasonText_, pillFont()) + 8;
    const QRectF pill(line.right() - pillWidth, line.center().y() - pillHeight() / 2, pillWidth, pillHeight());
    const QPainterPath pillShape = capsule(pill.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.fillPath(pillShape, isAlertPill_ ? withOpacity(theme.danger, 0.12) : theme.insetStrong);
    painter.strokePath(pillShape, strokePen(isAlertPill_ ? withOpacity(theme.danger, 0.33) : theme.hairline, 1));
    painter.fillPath(ellipse(QPointF(pill.left() + 8 + 2.5, pill.center().y()), 5, 5), pillColor);
    drawLine(painter, endReasonText_, pillFont(), pillColor, pill.left() + 8 + 5 + 5, pill.center().y());

    const double durationRight = pill.left() - 10;
    const double durationLeft = durationRight - textWidth(durationText_, durationFont());
    drawLine(painter, durationText_, durationFont(), theme.textSecondary, durationLeft, line.center().y());
    drawLine(painter, dateText_, dateFont(), theme.textPrimary, line.left(), line.center().y(),
             std::max(0.0, durationLeft - 8 - line.left()));
}

void SessionHistoryCard::paintApps(QPainter& painter, const QRectF& line) const
{
    double left = line.left();
    for (const QString& bundleID : iconBundleIDs_) {
        paintAppIcon(painter, QRectF(left, line.top(), iconSize, iconSize), bundleID, context_.apps, context_.theme);
        left += iconSize + 6;
    }
    if (iconBundleIDs_.isEmpty())
        left -= 6;
    left += 2;
    drawLine(painter, appsSummary_, summaryFont(), context_.theme.textDim, left, line.center().y(),
             std::max(0.0, line.right() - left));
}

void SessionHistoryCard::paintAnswers(QPainter& painter, const QRectF& line) const
{
    const VeskTheme& theme = context_.theme;
    const double midY = line.center().y();
    // Right to left: the helpfulness answer, then the goal answer.
    const auto answerWidth = [](const QString& word, const QString& label) {
        return textWidth(word, answerFont()) + 4 + textWidth(label, answerFont(QFont::DemiBold));
    };
    const QString goalWord = context_.localizer.translate("SessionHistoryView", "Ziel") + QStringLiteral(":");
    const QString veskWord = context_.localizer.translate("SessionHistoryView", "Vesk") + QStringLiteral(":");
    const double helpfulLeft = line.right() - answerWidth(veskWord, helpfulText_);
    const double goalLeft = helpfulLeft - 8 - answerWidth(goalWord, goalStatusText_);
    drawLine(painter, goalStatusText_, answerFont(QFont::DemiBold), goalStatusColor_,
             drawLine(painter, goalWord, answerFont(), theme.textDim, goalLeft, midY) + 4, midY);
    drawLine(painter, helpfulText_, answerFont(QFont::DemiBold), helpfulColor_,
             drawLine(painter, veskWord, answerFont(), theme.textDim, helpfulLeft, midY) + 4, midY);

    if (!goalText_)
        return;
    const QRectF dot(line.left(), midY - 3.5, 7, 7);
    paintGlow(painter, dot.center(), 3.5, withOpacity(goalStatusColor_, 0.53));
    painter.fillPath(ellipse(dot.center(), 7, 7), goalStatusColor_);
    const double textLeft = dot.right() + 8;
    drawLine(painter, *goalText_, goalFont(), theme.textPrimary, textLeft, midY,
             std::max(0.0, goalLeft - 8 - textLeft));
}

void SessionHistoryCard::paintNote(QPainter& painter, const QRectF& area) const
{
    const double dividerY = area.top() + noteGap;
    painter.fillRect(QRectF(area.left(), dividerY, area.width(), 1), context_.theme.hairline);
    const FittedText note = FittedText::fit(quotedNote(*noteText_), noteStyle(), area.width());
    note.paint(painter, QRectF(area.left(), dividerY + 1 + noteGap, area.width(), note.size.height()),
               context_.theme.textSecondary);
}

} // namespace vesk
