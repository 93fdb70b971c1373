#include "platform/simulated/DesktopScenarioLoader.h"

#include "core/FileIO.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <set>

namespace vesk::platform {

namespace {

// Reads the fields of one JSON object, remembering the first problem with the
// path of the field it concerns. Every read returns false once a problem is
// known, so callers can chain reads and check once.
class FieldReader {
public:
    FieldReader(const QJsonObject& object, QString path, QString* error)
        : object_(object)
        , path_(std::move(path))
        , error_(error)
    {
    }

    bool failed() const { return !error_->isEmpty(); }

    bool fail(const QString& field, const QString& message)
    {
        if (!failed())
            *error_ = fieldPath(field) + QStringLiteral(": ") + message;
        return false;
    }

    QString fieldPath(const QString& field) const
    {
        if (field.isEmpty())
            return path_.isEmpty() ? QStringLiteral("scenario") : path_;
        return path_.isEmpty() ? field : path_ + QLatin1Char('.') + field;
    }

    // Unknown fields are errors, so that a misspelt field does not go unnoticed.
    bool onlyFields(std::initializer_list<const char*> known)
    {
        const std::set<QString> allowed(known.begin(), known.end());
        for (auto it = object_.begin(); it != object_.end(); ++it) {
            if (!allowed.count(it.key()))
                return fail(it.key(), QStringLiteral("unknown field"));
        }
        return !failed();
    }

    bool has(const QString& field) const { return object_.contains(field) && !object_.value(field).isNull(); }
    QJsonValue raw(const QString& field) const { return object_.value(field); }

    bool string(const QString& field, QString* out, bool required = false)
    {
        if (!has(field))
            return required ? fail(field, QStringLiteral("missing")) : !failed();
        const QJsonValue value = object_.value(field);
        if (!value.isString())
            return fail(field, QStringLiteral("expected a string"));
        *out = value.toString();
        return !failed();
    }

    bool optionalString(const QString& field, std::optional<QString>* out)
    {
        if (!has(field)) {
            if (object_.contains(field))
                out->reset(); // null: explicitly missing
            return !failed();
        }
        QString text;
        if (!string(field, &text))
            return false;
        *out = text;
        return true;
    }

    bool boolean(const QString& field, bool* out)
    {
        if (!has(field))
            return !failed();
        const QJsonValue value = object_.value(field);
        if (!value.isBool())
            return fail(field, QStringLiteral("expected true or false"));
        *out = value.toBool();
        return !failed();
    }

    bool number(const QString& field, double* out, double minimum, double maximum = INFINITY)
    {
        if (!has(field))
            return !failed();
        const QJsonValue value = object_.value(field);
        if (!value.isDouble())
            return fail(field, QStringLiteral("expected a number"));
        const double number = value.toDouble();
        if (!std::isfinite(number) || number < minimum || number > maximum)
            return fail(field, QStringLiteral("%1 is out of range").arg(number));
        *out = number;
        return !failed();
    }

    bool integer(const QString& field, int* out, int minimum, int maximum = std::numeric_limits<int>::max())
    {
        if (!has(field))
            return !failed();
        const QJsonValue value = object_.value(field);
        const double number = value.toDouble();
        if (!value.isDouble() || std::floor(number) != number)
            return fail(field, QStringLiteral("expected a whole number"));
        if (number < minimum || number > maximum)
            return fail(field, QStringLiteral("%1 is out of range").arg(number));
        *out = int(number);
        return !failed();
    }

    bool rect(const QString& field, std::optional<QRectF>* out, bool required, bool positiveSize)
    {
        if (!has(field))
            return required ? fail(field, QStringLiteral("missing")) : !failed();
        const QJsonValue value = object_.value(field);
        const QJsonArray array = value.toArray();
        bool numbers = value.isArray() && array.size() == 4;
        for (const QJsonValue& item : array)
            numbers = numbers && item.isDouble() && std::isfinite(item.toDouble());
        if (!numbers)
            return fail(field, QStringLiteral("expected an array of four numbers [x, y, width, height]"));
        for (const QJsonValue& item : array) {
            if (std::abs(item.toDouble()) > DesktopScenarioLoader::maximumCoordinate)
                return fail(field, QStringLiteral("%1 is out of range; coordinates and sizes lie within ±%2 points")
                                       .arg(item.toDouble())
                                       .arg(DesktopScenarioLoader::maximumCoordinate));
        }
        const QRectF rect(array[0].toDouble(), array[1].toDouble(), array[2].toDouble(), array[3].toDouble());
        if (rect.width() < 0 || rect.height() < 0 || (positiveSize && (rect.width() <= 0 || rect.height() <= 0)))
            return fail(field,
                        QStringLiteral("width and height must be %1").arg(positiveSize ? "positive" : "non-negative"));
        *out = rect;
        return !failed();
    }

    template <typename Enum>
    bool choice(const QString& field, Enum* out, std::initializer_list<std::pair<const char*, Enum>> choices)
    {
        if (!has(field))
            return !failed();
        const QJsonValue value = object_.value(field);
        QStringList names;
        for (const auto& [name, option] : choices) {
            names.append(QString::fromLatin1(name));
            if (value.isString() && value.toString() == QLatin1String(name)) {
                *out = option;
                return !failed();
            }
        }
        return fail(field, QStringLiteral("expected one of ") + names.join(QStringLiteral(", ")));
    }

    // Calls `each` with a reader for every object of an array field.
    template <typename Each>
    bool objects(const QString& field, Each each, bool required = false)
    {
        if (!has(field))
            return required ? fail(field, QStringLiteral("missing")) : !failed();
        const QJsonValue value = object_.value(field);
        if (!value.isArray())
            return fail(field, QStringLiteral("expected an array"));
        const QJsonArray array = value.toArray();
        for (int i = 0; i < array.size() && !failed(); ++i) {
            const QString itemPath = fieldPath(field) + QStringLiteral("[%1]").arg(i);
            if (!array[i].isObject()) {
                *error_ = itemPath + QStringLiteral(": expected an object");
                return false;
            }
            FieldReader item(array[i].toObject(), itemPath, error_);
            each(item, i);
        }
        return !failed();
    }

    bool object(const QString& field, const std::function<void(FieldReader&)>& read)
    {
        if (!has(field))
            return !failed();
        const QJsonValue value = object_.value(field);
        if (!value.isObject())
            return fail(field, QStringLiteral("expected an object"));
        FieldReader inner(value.toObject(), fieldPath(field), error_);
        read(inner);
        return !failed();
    }

    const QJsonObject& json() const { return object_; }

private:
    QJsonObject object_;
    QString path_;
    QString* error_;
};

const std::initializer_list<std::pair<const char*, ActivationPolicy>> kPolicies = {
    {"regular", ActivationPolicy::regular},
    {"accessory", ActivationPolicy::accessory},
    {"prohibited", ActivationPolicy::prohibited}};
const std::initializer_list<std::pair<const char*, QuitBehaviour>> kQuitBehaviours = {
    {"quits", QuitBehaviour::quits}, {"quitsLater", QuitBehaviour::quitsLater}, {"refuses", QuitBehaviour::refuses}};
const std::initializer_list<std::pair<const char*, WindowAppearance>> kAppearances = {
    {"afterDelay", WindowAppearance::afterDelay},
    {"never", WindowAppearance::never},
    {"onOtherSpace", WindowAppearance::onOtherSpace}};

class ScenarioParser {
public:
    explicit ScenarioParser(QString* error) : error_(error) { }

    std::optional<DesktopScenario> parse(const QJsonObject& root)
    {
        DesktopScenario scenario;
        FieldReader top(root, QString(), error_);
        top.onlyFields({"vesk", "permissions", "systemApplications", "displays", "bundles", "applications", "frontmost",
                        "defaults", "hardwareModel", "darkAppearance", "diagnosticPayloads"});
        top.object("vesk", [&](FieldReader& r) { readVesk(r, &scenario.vesk); });
        top.object("permissions", [&](FieldReader& r) {
            r.onlyFields({"accessibility", "inputMonitoring", "grantOnRequest"});
            r.boolean("accessibility", &scenario.accessibilityTrusted);
            r.boolean("inputMonitoring", &scenario.inputMonitoringGranted);
            r.boolean("grantOnRequest", &scenario.grantsPermissionsOnRequest);
        });
        top.boolean("systemApplications", &scenario.systemApplications);
        top.objects(
            "displays", [&](FieldReader& r, int) { scenario.displays.push_back(readDisplay(r)); }, true);
        if (!top.failed() && scenario.displays.empty())
            top.fail("displays", QStringLiteral("at least one display is needed"));
        if (!top.failed() && scenario.displays.size() > size_t(DesktopScenarioLoader::maximumDisplays))
            top.fail("displays", QStringLiteral("%1 displays; a desktop has at most %2")
                                     .arg(scenario.displays.size())
                                     .arg(DesktopScenarioLoader::maximumDisplays));
        top.objects("bundles", [&](FieldReader& r, int) { scenario.bundles.push_back(readBundle(r, scenario)); });
        top.objects("applications",
                    [&](FieldReader& r, int) { scenario.applications.push_back(readApplication(r, scenario)); });
        top.optionalString("frontmost", &scenario.frontmost);
        if (!top.failed() && scenario.frontmost) {
            const bool known =
                std::any_of(scenario.applications.begin(), scenario.applications.end(),
                            [&](const ApplicationSpec& a) { return a.bundleIdentifier == scenario.frontmost; });
            if (!known && *scenario.frontmost != QLatin1String("com.apple.finder"))
                top.fail("frontmost",
                         QStringLiteral("no application has the bundle identifier ") + *scenario.frontmost);
        }
        top.object("defaults", [&](FieldReader& r) { readDefaults(r, &scenario.defaults); });
        top.optionalString("hardwareModel", &scenario.hardwareModel);
        top.boolean("darkAppearance", &scenario.darkAppearance);
        if (top.has("diagnosticPayloads")) {
            const QJsonValue payloads = top.raw("diagnosticPayloads");
            if (!payloads.isArray()) {
                top.fail("diagnosticPayloads", QStringLiteral("expected an array of objects"));
            } else {
                const QJsonArray array = payloads.toArray();
                for (int i = 0; i < array.size() && !top.failed(); ++i) {
                    if (!array[i].isObject())
                        top.fail(QStringLiteral("diagnosticPayloads[%1]").arg(i), QStringLiteral("expected an object"));
                    else
                        scenario.diagnosticPayloads.push_back(
                            QJsonDocument(array[i].toObject()).toJson(QJsonDocument::Compact));
                }
            }
        }
        if (top.failed())
            return std::nullopt;
        return scenario;
    }

private:
    void readVesk(FieldReader& r, OwnApplicationSpec* vesk)
    {
        r.onlyFields({"pid", "bundleIdentifier", "name", "version", "build"});
        int pid = vesk->pid;
        r.integer("pid", &pid, 1);
        vesk->pid = pid;
        r.optionalString("bundleIdentifier", &vesk->bundleIdentifier);
        r.string("name", &vesk->name);
        r.optionalString("version", &vesk->version);
        r.optionalString("build", &vesk->build);
    }

    DisplaySpec readDisplay(FieldReader& r)
    {
        DisplaySpec display;
        r.onlyFields({"id", "name", "bounds", "frame", "visibleFrame", "scale", "spaces", "reportsBounds"});
        if (r.has("id")) {
            int id = 0;
            if (r.integer("id", &id, 0))
                display.displayID = quint32(id);
        }
        r.string("name", &display.name);
        std::optional<QRectF> bounds;
        r.rect("bounds", &bounds, true, true);
        display.bounds = bounds.value_or(QRectF());
        const double side = DesktopScenarioLoader::maximumDisplaySide;
        if (!r.failed() && (display.bounds.width() > side || display.bounds.height() > side))
            r.fail("bounds", QStringLiteral("%1 × %2 points is too large; a display has at most %3 × %3")
                                 .arg(display.bounds.width())
                                 .arg(display.bounds.height())
                                 .arg(side));
        r.rect("frame", &display.frame, false, true);
        r.rect("visibleFrame", &display.visibleFrame, false, false);
        r.number("scale", &display.scale, 0.5, 8);
        r.integer("spaces", &display.spaceCount, 1, 16);
        r.boolean("reportsBounds", &display.reportsBounds);
        displaySpaces_.push_back(display.spaceCount);
        return display;
    }

    WindowSpec readWindow(FieldReader& r)
    {
        WindowSpec window;
        if (++windowCount_ > DesktopScenarioLoader::maximumWindows) {
            r.fail(QString(), QStringLiteral("too many windows; a desktop has at most %1")
                                  .arg(DesktopScenarioLoader::maximumWindows));
            return window;
        }
        r.onlyFields({"title", "bounds", "layer", "alpha", "display", "space", "minimized", "fullScreen",
                      "desktopElement", "onAllSpaces", "titleBarButtons", "accessibilityWritable"});
        r.string("title", &window.title);
        std::optional<QRectF> bounds;
        r.rect("bounds", &bounds, true, false);
        window.bounds = bounds.value_or(QRectF());
        r.integer("layer", &window.layer, std::numeric_limits<int>::min());
        r.number("alpha", &window.alpha, 0, 1);
        if (r.has("display")) {
            int display = 0;
            if (r.integer("display", &display, 0, int(displaySpaces_.size()) - 1))
                window.display = display;
        }
        if (r.has("space")) {
            // Without a display, the window goes where its bounds are: any display's Spaces may do.
            int spaces = 1;
            if (window.display)
                spaces = displaySpaces_[*window.display];
            else if (!displaySpaces_.empty())
                spaces = *std::max_element(displaySpaces_.begin(), displaySpaces_.end());
            int space = 0;
            if (r.integer("space", &space, 0, spaces - 1))
                window.space = space;
        }
        r.boolean("minimized", &window.minimized);
        r.boolean("fullScreen", &window.fullScreen);
        r.boolean("desktopElement", &window.desktopElement);
        r.boolean("onAllSpaces", &window.onAllSpaces);
        r.boolean("titleBarButtons", &window.hasTitleBarButtons);
        r.boolean("accessibilityWritable", &window.accessibilityWritable);
        return window;
    }

    BundleSpec readBundle(FieldReader& r, const DesktopScenario& scenario)
    {
        BundleSpec bundle;
        r.onlyFields({"path", "bundleIdentifier", "name", "displayName", "version", "shortVersion", "urlSchemes",
                      "info", "launch"});
        r.string("path", &bundle.path, true);
        if (!r.failed()
            && (!bundle.path.startsWith(QLatin1Char('/')) || !bundle.path.endsWith(QLatin1String(".app"))
                || bundle.path.contains(QLatin1String("/../")) || bundle.path.contains(QLatin1String("/./"))))
            r.fail("path", QStringLiteral("expected an absolute path ending in .app, such as /Applications/Name.app"));
        for (const BundleSpec& other : scenario.bundles) {
            if (!r.failed() && other.path == bundle.path)
                r.fail("path", QStringLiteral("another bundle has the same path"));
        }
        r.optionalString("bundleIdentifier", &bundle.bundleIdentifier);
        r.string("name", &bundle.name);
        if (bundle.name.isEmpty())
            bundle.name = bundle.path.section(QLatin1Char('/'), -1).chopped(4);
        r.optionalString("displayName", &bundle.displayName);
        r.optionalString("version", &bundle.version);
        r.optionalString("shortVersion", &bundle.shortVersion);
        if (r.has("urlSchemes")) {
            const QJsonValue value = r.raw("urlSchemes");
            bool strings = value.isArray();
            for (const QJsonValue& item : value.toArray()) {
                strings = strings && item.isString();
                bundle.urlSchemes.append(item.toString());
            }
            if (!strings)
                r.fail("urlSchemes", QStringLiteral("expected an array of strings"));
        }
        if (r.has("info")) {
            if (!r.raw("info").isObject())
                r.fail("info", QStringLiteral("expected an object"));
            bundle.extraInfo = r.raw("info").toObject().toVariantMap();
        }
        r.object("launch", [&](FieldReader& l) {
            LaunchBehaviour& launch = bundle.launch;
            l.onlyFields({"launchDelay", "windowDelay", "appearance", "windows", "activationPolicy", "quit",
                          "quitDelay", "launchError"});
            l.number("launchDelay", &launch.launchDelay, 0);
            l.number("windowDelay", &launch.windowDelay, 0);
            l.choice("appearance", &launch.appearance, kAppearances);
            l.objects("windows", [&](FieldReader& w, int) { launch.windows.push_back(readWindow(w)); });
            l.choice("activationPolicy", &launch.activationPolicy, kPolicies);
            l.choice("quit", &launch.quitBehaviour, kQuitBehaviours);
            l.number("quitDelay", &launch.quitDelay, 0);
            l.optionalString("launchError", &launch.launchError);
        });
        return bundle;
    }

    ApplicationSpec readApplication(FieldReader& r, const DesktopScenario& scenario)
    {
        ApplicationSpec app;
        r.onlyFields({"bundleIdentifier", "name", "bundlePath", "pid", "activationPolicy", "hidden", "quit",
                      "quitDelay", "accessibilityResponsive", "windows"});
        r.optionalString("bundleIdentifier", &app.bundleIdentifier);
        r.string("name", &app.name);
        if (!r.failed() && !app.bundleIdentifier && app.name.isEmpty())
            r.fail(QString(), QStringLiteral("an application needs a bundleIdentifier or a name"));
        r.optionalString("bundlePath", &app.bundlePath);
        if (!r.failed() && app.bundlePath) {
            const bool known = std::any_of(scenario.bundles.begin(), scenario.bundles.end(),
                                           [&](const BundleSpec& b) { return b.path == *app.bundlePath; });
            if (!known)
                r.fail("bundlePath", QStringLiteral("no bundle has the path ") + *app.bundlePath);
        }
        if (r.has("pid")) {
            int pid = 0;
            if (r.integer("pid", &pid, 1)) {
                if (pids_.count(pid) || pid == scenario.vesk.pid)
                    r.fail("pid", QStringLiteral("%1 is already in use").arg(pid));
                pids_.insert(pid);
                app.pid = pid;
            }
        }
        r.choice("activationPolicy", &app.activationPolicy, kPolicies);
        r.boolean("hidden", &app.hidden);
        r.choice("quit", &app.quitBehaviour, kQuitBehaviours);
        r.number("quitDelay", &app.quitDelay, 0);
        r.boolean("accessibilityResponsive", &app.accessibilityResponsive);
        r.objects("windows", [&](FieldReader& w, int) { app.windows.push_back(readWindow(w)); });
        return app;
    }

    void readDefaults(FieldReader& r, std::map<QString, QVariantMap>* defaults)
    {
        for (auto it = r.json().begin(); it != r.json().end() && !r.failed(); ++it) {
            if (!it.value().isObject()) {
                r.fail(it.key(), QStringLiteral("expected an object of keys and values"));
                return;
            }
            const QJsonObject values = it.value().toObject();
            QVariantMap& domain = (*defaults)[it.key()];
            for (auto value = values.begin(); value != values.end(); ++value) {
                const QJsonValue v = value.value();
                if (v.isBool()) {
                    domain.insert(value.key(), v.toBool());
                } else if (v.isDouble()) {
                    const double number = v.toDouble();
                    if (std::floor(number) == number && std::abs(number) < 1e15)
                        domain.insert(value.key(), qlonglong(number));
                    else
                        domain.insert(value.key(), number);
                } else if (v.isString()) {
                    domain.insert(value.key(), v.toString());
                } else {
                    r.fail(it.key() + QLatin1Char('.') + value.key(),
                           QStringLiteral("expected true, false, a number or a string"));
                    return;
                }
            }
        }
    }

    QString* error_;
    std::vector<int> displaySpaces_;
    std::set<int> pids_;
    int windowCount_ = 0;
};

QString lineAndColumn(const QByteArray& text, int offset)
{
    int line = 1;
    int column = 1;
    for (int i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return QStringLiteral("line %1, column %2").arg(line).arg(column);
}

} // namespace

ScenarioLoadResult DesktopScenarioLoader::parse(const QByteArray& json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return {std::nullopt, QStringLiteral("not valid JSON at %1: %2")
                                  .arg(lineAndColumn(json, parseError.offset), parseError.errorString())};
    if (!document.isObject())
        return {std::nullopt, QStringLiteral("scenario: expected a JSON object at the top level")};
    QString error;
    auto scenario = ScenarioParser(&error).parse(document.object());
    if (!scenario)
        return {std::nullopt, error};
    return {std::move(scenario), QString()};
}

ScenarioLoadResult DesktopScenarioLoader::loadFile(const QString& path)
{
    const InputFileContents file = readInputFile(path);
    if (!file.ok())
        return {std::nullopt, QStringLiteral("cannot read %1: %2").arg(path, file.error)};
    ScenarioLoadResult result = parse(file.data);
    if (!result.ok())
        result.error = path + QStringLiteral(": ") + result.error;
    return result;
}

ScenarioLoadResult DesktopScenarioLoader::loadDefault()
{
    return loadFile(defaultScenarioResource);
}

} // namespace vesk::platform
