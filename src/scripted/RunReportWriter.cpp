#include "scripted/RunReportWriter.h"

#include "core/FileIO.h"
#include "core/TextFormat.h"
#include "core/UserDefaults.h"
#include "platform/WindowListProviding.h"
#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "settings/VeskDefaultsStore.h"
#include "store/FocusSession.h"
#include "store/ModelContext.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMetaEnum>

#include <algorithm>

namespace vesk {

namespace {

QJsonValue dateJson(const std::optional<QDateTime>& date)
{
    return date ? QJsonValue(date->toUTC().toString(Qt::ISODateWithMs)) : QJsonValue();
}

QJsonValue textJson(const std::optional<QString>& text)
{
    return text ? QJsonValue(*text) : QJsonValue();
}

QString activationPolicyText(platform::ActivationPolicy policy)
{
    switch (policy) {
    case platform::ActivationPolicy::regular:
        return QStringLiteral("regular");
    case platform::ActivationPolicy::accessory:
        return QStringLiteral("accessory");
    case platform::ActivationPolicy::prohibited:
        break;
    }
    return QStringLiteral("prohibited");
}

} // namespace

QJsonObject RunReportWriter::focusSessionJson(const FocusSession& session)
{
    QJsonObject json;
    json["id"] = uuidText(session.id);
    json["startedAt"] = dateJson(session.startedAt);
    json["endedAt"] = dateJson(session.endedAt);
    json["durationSeconds"] = session.durationSeconds;
    json["allowedAppBundleIDs"] = QJsonArray::fromStringList(session.allowedAppBundleIDs);
    json["allAllowedAppBundleIDs"] = QJsonArray::fromStringList(session.allAllowedAppBundleIDs);
    json["isActive"] = session.isActive;
    json["endReason"] = textJson(session.endReason);
    json["goalText"] = textJson(session.goalText);
    json["goalStatus"] = session.goalStatus ? QJsonValue(toRaw(*session.goalStatus)) : QJsonValue();
    json["veskHelpful"] = session.veskHelpful ? QJsonValue(toRaw(*session.veskHelpful)) : QJsonValue();
    json["goalNote"] = textJson(session.goalNote);
    json["goalAnsweredAt"] = dateJson(session.goalAnsweredAt);
    return json;
}

QJsonArray RunReportWriter::sessions(ModelContext& context, QString* error)
{
    auto fetched = context.fetch<FocusSession>();
    if (!fetched) {
        if (error)
            *error = fetched.error().description;
        return {};
    }
    std::vector<std::shared_ptr<FocusSession>> records = fetched.value();
    std::stable_sort(records.begin(), records.end(),
                     [](const auto& a, const auto& b) { return a->startedAt < b->startedAt; });
    QJsonArray result;
    for (const auto& record : records)
        result.append(focusSessionJson(*record));
    return result;
}

QJsonObject RunReportWriter::settings(const VeskDefaultsStore& store)
{
    QJsonArray overrides;
    for (const QString& token : store.screenFunctionOverrides())
        overrides.append(token);
    const QMetaEnum styles = QMetaEnum::fromType<VeskDefaultsStore::WormveskStylePreference>();
    return QJsonObject{
        {"defaultDurationSeconds", store.defaultDurationSeconds()},
        {"defaultHardcoreOn", store.defaultHardcoreOn()},
        {"language", toRaw(store.language())},
        {"soundEnabled", store.soundEnabled()},
        {"reducedMotion", store.reducedMotion()},
        {"wormveskStyle", QString::fromLatin1(styles.valueToKey(static_cast<int>(store.wormveskStyle())))},
        {"stageVeskAgingMinutes", store.stageVeskAgingMinutes()},
        {"analyticsEnabled", store.analyticsEnabled()},
        {"analyticsNoticeShown", store.analyticsNoticeShown()},
        {"autoCheckForUpdates", store.autoCheckForUpdates()},
        {"autoInstallUpdates", store.autoInstallUpdates()},
        {"screenFunctionOverrides", overrides},
    };
}

QJsonObject RunReportWriter::defaults(const platform::SimulatedDesktop& desktop, const UserDefaults& own)
{
    QJsonObject result;
    for (const QString& domain : desktop.defaults().domainNames())
        result[domain] = QJsonObject::fromVariantMap(desktop.defaults().domain(domain));
    result[own.suiteName()] = QJsonObject::fromVariantMap(own.dictionaryRepresentation());
    return result;
}

QJsonArray RunReportWriter::windows(const platform::SimulatedDesktop& desktop)
{
    QJsonArray result;
    for (const QVariantMap& info : desktop.copyWindowInfo(0)) {
        QJsonObject window = QJsonObject::fromVariantMap(info);
        const auto pid = static_cast<platform::ProcessID>(info.value(platform::kWindowOwnerPID).toInt());
        const platform::DesktopApplication* owner = desktop.application(pid);
        window["ownerBundleID"] = owner ? textJson(owner->bundleIdentifier) : QJsonValue();
        result.append(window);
    }
    return result;
}

QJsonArray RunReportWriter::runningApplications(const platform::SimulatedDesktop& desktop)
{
    QJsonArray result;
    for (const platform::DesktopApplication& application : desktop.applications()) {
        if (application.terminated)
            continue;
        QJsonObject json;
        json["pid"] = application.pid;
        json["bundleID"] = textJson(application.bundleIdentifier);
        json["name"] = application.name;
        json["hidden"] = application.hidden;
        json["frontmost"] = desktop.frontmostPID() == application.pid;
        json["activationPolicy"] = activationPolicyText(application.activationPolicy);
        result.append(json);
    }
    return result;
}

bool RunReportWriter::write(const QJsonObject& report, const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = QStringLiteral("cannot create the folder %1").arg(info.absolutePath());
        return false;
    }
    if (auto failure = writeFileAtomically(path, QJsonDocument(report).toJson(QJsonDocument::Indented))) {
        if (error)
            *error = QStringLiteral("the report: ") + *failure;
        return false;
    }
    return true;
}

} // namespace vesk
