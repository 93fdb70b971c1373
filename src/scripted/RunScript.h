#pragma once

#include "app/ServiceEndpoints.h"
#include "settings/VeskLanguage.h"

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vesk {

// One timed step of a scripted run. `at` is in virtual seconds from the start
// of the run; points are in the top-left global coordinate system.
struct ScriptStep {
    enum class Action {
        startSession, // apps, durationSeconds, goal, hardcore, setupSeconds
        click,        // x, y, button
        clickText,    // text: the control of Vesk's windows that shows it
        type,         // text: typed into the focused field of Vesk
        key,          // chord
        launch,       // bundleID
        quit,         // bundleID
        minimize,     // bundleID
        move,         // bundleID, x, y (the window's new top-left corner), width, height
        switchSpace,  // display, space or step
        screenshot,   // name
        advance,      // seconds
        sigterm,      // the SIGTERM signal to the application's process
        terminate,    // a request to terminate the application; always the last step
    };

    Action action = Action::advance;
    double at = 0;
    // Position in the script's "steps" array, for messages.
    int index = 0;

    QStringList apps;
    int durationSeconds = 0;
    std::optional<QString> goal;
    bool hardcore = false;
    int setupSeconds = 0;

    QPointF point;
    int button = 0;

    QString chord;
    std::int64_t keyCode = 0;
    std::uint64_t modifierFlags = 0;

    QString bundleID;
    std::optional<double> width;
    std::optional<double> height;

    int display = 0;
    std::optional<int> space;
    int spaceStep = 0;

    QString name;
    double seconds = 0;

    QString text;
};

QString toRaw(ScriptStep::Action action);

// The steps of a scripted run, read from JSON:
//   {"steps": [{"at": 0.0, "do": "startSession", "apps": ["…"], "durationSeconds": 60,
//               "goal": "…", "hardcore": false}, {"at": 5.0, "do": "click", "x": 100, "y": 200}, …]}
// Steps run in the order of `at` (steps with the same time in file order).
struct RunScriptParseResult;

class RunScript {
public:
    using ParseResult = RunScriptParseResult;

    // A run covers at most one day of virtual time, its advances added up.
    static constexpr double maximumSeconds = 86400;

    static ParseResult parse(const QByteArray& json);
    static ParseResult loadFile(const QString& path);

    const std::vector<ScriptStep>& steps() const { return steps_; }
    // The interface language the run sets before the application shows
    // ("language": "system", "de", "en", "it", "fr" or "es"); none: the
    // setting as the run's fresh defaults have it (system, which reads German).
    const std::optional<VeskLanguage>& language() const { return language_; }
    // The services the script names ("endpoints": {"analytics": url,
    // "reports": url, "updates": url}, each an http or https URL); what it
    // leaves out is none.
    const ServiceEndpoints& endpoints() const { return endpoints_; }
    // The time of the last step; 0 without steps.
    double endTime() const;
    // Names the first application a "startSession" step allows that is not
    // installed (`isInstalled` says false), in the words of a parse error;
    // none when every one is installed.
    std::optional<QString> uninstalledApplication(const std::function<bool(const QString&)>& isInstalled) const;

private:
    std::vector<ScriptStep> steps_;
    std::optional<VeskLanguage> language_;
    ServiceEndpoints endpoints_;
};

struct RunScriptParseResult {
    std::optional<RunScript> script;
    // Names the step and the field, e.g. "steps[2] (click): \"x\" must be a number".
    QString error;

    bool ok() const { return script.has_value(); }
};

} // namespace vesk
