#include "analytics/AnalyticsEvent.h"

namespace vesk {

namespace {

QString flag(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

struct SignalNameOf {
    QString operator()(const AnalyticsEvent::AppLaunched&) const { return QStringLiteral("app.launched"); }
    QString operator()(const AnalyticsEvent::SessionStarted&) const { return QStringLiteral("session.started"); }
    QString operator()(const AnalyticsEvent::SessionEnded&) const { return QStringLiteral("session.ended"); }
    QString operator()(const AnalyticsEvent::ReflectionAnswered&) const
    {
        return QStringLiteral("reflection.answered");
    }
    QString operator()(const AnalyticsEvent::ReflectionSkipped&) const { return QStringLiteral("reflection.skipped"); }
};

struct ParametersOf {
    using Parameters = std::map<QString, QString>;

    Parameters operator()(const AnalyticsEvent::AppLaunched& event) const
    {
        return {{QStringLiteral("accessibilityGranted"), flag(event.accessibilityGranted)}};
    }
    Parameters operator()(const AnalyticsEvent::SessionStarted& event) const
    {
        return {
            {QStringLiteral("plannedDurationBucket"), label(event.plannedDuration)},
            {QStringLiteral("allowedAppCount"), QString::number(event.allowedAppCount)},
            {QStringLiteral("hardcore"), flag(event.hardcore)},
            {QStringLiteral("setupDurationBucket"), label(event.setupDuration)},
            {QStringLiteral("monitorCountBucket"), label(event.monitorCount)},
            {QStringLiteral("stageMode"), event.stageMode},
            {QStringLiteral("hasGoal"), flag(event.hasGoal)},
        };
    }
    Parameters operator()(const AnalyticsEvent::SessionEnded& event) const
    {
        return {
            {QStringLiteral("endReason"), event.endReason},
            {QStringLiteral("actualDurationBucket"), label(event.actualDuration)},
            {QStringLiteral("dynamicallyAddedCount"), QString::number(event.dynamicallyAddedCount)},
        };
    }
    Parameters operator()(const AnalyticsEvent::ReflectionAnswered& event) const
    {
        Parameters parameters;
        if (event.goalStatus)
            parameters[QStringLiteral("goalStatus")] = toRaw(*event.goalStatus);
        if (event.helpful)
            parameters[QStringLiteral("veskHelpful")] = toRaw(*event.helpful);
        if (event.reasonCategory)
            parameters[QStringLiteral("reasonCategory")] = toRaw(*event.reasonCategory);
        return parameters;
    }
    Parameters operator()(const AnalyticsEvent::ReflectionSkipped&) const { return {}; }
};

} // namespace

QString AnalyticsEvent::signalName() const
{
    return std::visit(SignalNameOf{}, payload_);
}

std::map<QString, QString> AnalyticsEvent::parameters() const
{
    return std::visit(ParametersOf{}, payload_);
}

} // namespace vesk
