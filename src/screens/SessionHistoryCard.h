#pragma once

#include "screens/FocusSessionPresentation.h"
#include "store/FocusSession.h"
#include "ui/FittedText.h"
#include "ui/Localizer.h"
#include "ui/VeskTheme.h"

#include <QColor>
#include <QRectF>
#include <QStringList>

#include <optional>

class QPainter;

namespace vesk {

class Clock;

// What the history card of one session needs: the texts the presentation
// helpers give, the look of its answers, where icons come from.
struct SessionHistoryCardContext {
    const Localizer& localizer;
    AppDirectory apps;
    const Clock& clock;
    const VeskTheme& theme;
};

// One session in the history: start and duration with the end-reason pill,
// the apps with up to five icons, the goal with both answers and, when there
// is one, the note. Built when it comes into view; a plain value that paints
// itself into the rectangle the list gives it.
class SessionHistoryCard {
public:
    static constexpr int shownIconCount = 5;

    SessionHistoryCard(const FocusSession& session, const SessionHistoryCardContext& context);

    // The card's height at `width`; only the note wraps, so only it is measured.
    static double height(const FocusSession& session, double width);

    void paint(QPainter& painter, const QRectF& rect) const;

    // The colour of an answer, or of no answer.
    static QColor answerColor(std::optional<GoalStatus> status, const VeskTheme& theme);
    static QColor answerColor(std::optional<VeskHelpful> helpful, const VeskTheme& theme);

    const QString& dateText() const { return dateText_; }
    const QString& durationText() const { return durationText_; }
    const QString& endReasonText() const { return endReasonText_; }
    bool isAlertPill() const { return isAlertPill_; }
    const QStringList& iconBundleIDs() const { return iconBundleIDs_; }
    const QString& appsSummary() const { return appsSummary_; }
    const std::optional<QString>& goalText() const { return goalText_; }
    const std::optional<QString>& noteText() const { return noteText_; }

private:
    void paintHeadline(QPainter& painter, const QRectF& line) const;
    void paintApps(QPainter& painter, const QRectF& line) const;
    void paintAnswers(QPainter& painter, const QRectF& line) const;
    void paintNote(QPainter& painter, const QRectF& area) const;

    const SessionHistoryCardContext& context_;
    QString dateText_;
    QString durationText_;
    QString endReasonText_;
    bool isAlertPill_ = false;
    QStringList iconBundleIDs_;
    QString appsSummary_;
    std::optional<QString> goalText_;
    QString goalStatusText_;
    QColor goalStatusColor_;
    QString helpfulText_;
    QColor helpfulColor_;
    std::optional<QString> noteText_;
};

} // namespace vesk
