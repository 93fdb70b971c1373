#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace vesk::platform {
class SimulatedDesktop;
} // namespace vesk::platform

namespace vesk {

class UserDefaults;
class ModelContext;
class VeskDefaultsStore;
struct FocusSession;

// The sections of a scripted run's report, read from the live objects at the
// end of the run, and the writing of the report file:
//   {"sessions": [...], "defaults": {domain: {key: value}}, "presentationOptions": n,
//    "windows": [...], "runningApplications": [...], "logFile": path,
//    "screenshots": {name: [paths]}, "timeline": [...]}
class RunReportWriter {
public:
    // One stored session with the model's field names; dates in ISO 8601 UTC
    // with milliseconds, missing values as null.
    static QJsonObject focusSessionJson(const FocusSession& session);
    // Every stored session, oldest start first; an error text instead when the store cannot be read.
    static QJsonArray sessions(ModelContext& context, QString* error);
    // The application's settings as they are in effect, by setting name.
    static QJsonObject settings(const VeskDefaultsStore& store);
    // The system's defaults domains and the application's own suite.
    static QJsonObject defaults(const platform::SimulatedDesktop& desktop, const UserDefaults& own);
    // The whole window list, front to back, with each owner's bundle identifier.
    static QJsonArray windows(const platform::SimulatedDesktop& desktop);
    // The applications that have not terminated, in the workspace's order.
    static QJsonArray runningApplications(const platform::SimulatedDesktop& desktop);

    // Writes the report as indented JSON; false with the reason on failure.
    static bool write(const QJsonObject& report, const QString& path, QString* error);
};

} // namespace vesk
