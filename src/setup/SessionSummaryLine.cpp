#include "setup/SessionSummaryLine.h"

#include "core/Clock.h"
#include "settings/DurationDefaults.h"
#include "setup/MetaPopoverView.h"
#include "setup/MetaPopoverWindow.h"
#include "setup/SessionSetupModel.h"
#include "store/GoalRule.h"
#include "ui/VeskFont.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace vesk {

namespace {

const QString separator = QStringLiteral(" · ");

QFont lineFont(bool underlined)
{
    QFont font = VeskFont::interface(SessionSummaryLine::pointSize);
    font.setUnderline(underlined);
    return font;
}

QString durationPiece(qint64 seconds, const Localizer& localizer)
{
    for (const DurationDefaults::Option& option : DurationDefaults::options()) {
        if (option.seconds != seconds)
            continue;
        if (!option.minutes)
            return localizer.translate("SessionSummaryLine", "Unbegrenzt");
        return localizer.translate("SessionSummaryLine", "%1 Min").arg(*option.minutes);
    }
    return localizer.translate("SessionSummaryLine", "%1 Min").arg(seconds / 60);
}

} // namespace

SessionSummaryLine::Text SessionSummaryLine::text(int appCount, qint64 durationSeconds, bool hardcore,
                                                  const QString& goal, const Localizer& localizer)
{
    Text line;
    const QString apps = appCount == 1 ? localizer.translate("SessionSummaryLine", "%1 App")
                                       : localizer.translate("SessionSummaryLine", "%1 Apps");
    line.leading = apps.arg(appCount) + separator + durationPiece(durationSeconds, localizer);
    if (hardcore)
        line.leading += separator + localizer.translate("SessionSummaryLine", "Hardcore");

    const QString trimmedGoal = prefixOfUserCharacters(goal.trimmed(), goalTextCharacterLimit);
    if (trimmedGoal.isEmpty()) {
        line.goal = separator + localizer.translate("SessionSummaryLine", "Ziel setzen");
        line.asksForGoal = true;
        line.tooltip = localizer.translate("SessionSummaryLine", "Ziel setzen");
        return line;
    }
    const QString shown = userCharacterCount(trimmedGoal) >= goalShorteningThreshold
                              ? prefixOfUserCharacters(trimmedGoal, shortenedGoalLength) + QStringLiteral("…")
                              : trimmedGoal;
    line.goal = separator + localizer.translate("SessionSummaryLine", "Ziel: %1").arg(shown);
    line.tooltip = trimmedGoal;
    return line;
}

SessionSummaryLine::SessionSummaryLine(SessionSetupModel& model, Scheduler& scheduler, const Clock& clock,
                                       const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , scheduler_(scheduler)
    , clock_(clock)
    , localizer_(localizer)
    , frames_(scheduler, 1.0 / 60, [this] {
        if (!style_.isAnimating(clock_.now()))
            frames_.stop();
        update();
    })
{
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(&model_, &SessionSetupModel::changed, this, &SessionSummaryLine::refresh);
    refresh();
}

SessionSummaryLine::~SessionSummaryLine()
{
    if (popover_)
        popover_->dismissByOwner();
}

MetaPopoverWindow* SessionSummaryLine::popover() const
{
    return popover_;
}

void SessionSummaryLine::refresh()
{
    text_ = text(static_cast<int>(model_.selectedBundleIDs().size()), model_.sessionDuration(),
                 model_.sessionHardcore(), model_.sessionGoalText(), localizer_);
    setToolTip(text_.tooltip);
    setAccessibleName(text_.whole());
    updateGeometry();
    update();
    showOrHidePopover();
}

void SessionSummaryLine::showOrHidePopover()
{
    if (model_.isMetaPopoverShown() && !popover_) {
        auto* view = new MetaPopoverView(
            model_, scheduler_, true, [this] { model_.setMetaPopoverShown(false); }, localizer_);
        // Closed by a click outside: the window is going, whatever the model does next.
        popover_ = new MetaPopoverWindow(
            view,
            [this] {
                popover_.clear();
                model_.setMetaPopoverShown(false);
            },
            this, listPopover_);
        popover_->setAttribute(Qt::WA_DeleteOnClose);
        popover_->present(*this);
    } else if (!model_.isMetaPopoverShown() && popover_) {
        MetaPopoverWindow* closing = popover_.data();
        popover_.clear();
        closing->dismissByOwner();
    }
}

void SessionSummaryLine::setHovered(bool hovered)
{
    style_.setHovered(hovered, clock_.now());
    frames_.start();
    update();
}

QSize SessionSummaryLine::sizeHint() const
{
    const QFontMetricsF metrics(lineFont(false));
    return {static_cast<int>(std::ceil(metrics.horizontalAdvance(text_.whole()))),
            static_cast<int>(std::ceil(metrics.height()))};
}

void SessionSummaryLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = lineFont(style_.isHovered());
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    const double leadingWidth = metrics.horizontalAdvance(text_.leading);
    const double goalWidth = metrics.horizontalAdvance(text_.goal);
    const double available = width();
    double x = std::max(0.0, (available - leadingWidth - goalWidth) / 2);
    const double baseline = (height() - metrics.height()) / 2 + metrics.ascent();
    const QColor color = style_.labelColor(clock_.now(), theme_);
    painter.setPen(color);
    painter.drawText(QPointF(x, baseline), text_.leading);
    x += leadingWidth;
    painter.setPen(text_.asksForGoal ? theme_.accent : color);
    painter.drawText(QPointF(x, baseline), text_.goal);
}

void SessionSummaryLine::enterEvent(QEnterEvent*)
{
    setHovered(true);
}

void SessionSummaryLine::leaveEvent(QEvent*)
{
    setHovered(false);
}

void SessionSummaryLine::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        model_.setMetaPopoverShown(true);
}

} // namespace vesk
