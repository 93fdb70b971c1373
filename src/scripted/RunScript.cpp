#include "scripted/RunScript.h"

#include "core/FileIO.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/simulated/DesktopEventSystem.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace vesk {

namespace {

using Action = ScriptStep::Action;

const std::vector<std::pair<Action, QString>>& actionNames()
{
    static const std::vector<std::pair<Action, QString>> names{
        {Action::startSession, "startSession"},
        {Action::click, "click"},
        {Action::clickText, "clickText"},
        {Action::type, "type"},
        {Action::key, "key"},
        {Action::launch, "launch"},
        {Action::quit, "quit"},
        {Action::minimize, "minimize"},
        {Action::move, "move"},
        {Action::switchSpace, "switchSpace"},
        {Action::screenshot, "screenshot"},
        {Action::advance, "advance"},
        {Action::sigterm, "sigterm"},
        {Action::terminate, "terminate"},
    };
    return names;
}

// The fields each action takes besides "at", "do" and "comment".
const std::map<Action, std::set<QString>>& allowedFields()
{
    static const std::map<Action, std::set<QString>> fields{
        {Action::startSession, {"apps", "durationSeconds", "goal", "hardcore", "setupSeconds"}},
        {Action::click, {"x", "y", "button"}},
        {Action::clickText, {"text"}},
        {Action::type, {"text"}},
        {Action::key, {"chord"}},
        {Action::launch, {"bundleID"}},
        {Action::quit, {"bundleID"}},
        {Action::minimize, {"bundleID"}},
        {Action::move, {"bundleID", "x", "y", "width", "height"}},
        {Action::switchSpace, {"display", "space", "step"}},
        {Action::screenshot, {"name"}},
        {Action::advance, {"seconds"}},
        {Action::sigterm, {}},
        {Action::terminate, {}},
    };
    return fields;
}

const std::map<QString, std::uint64_t>& modifierFlags()
{
    using namespace platform::EventFlag;
    static const std::map<QString, std::uint64_t> flags{
        {"cmd", command}, {"command", command}, {"shift", shift}, {"ctrl", control},   {"control", control},
        {"alt", option},  {"option", option},   {"opt", option},  {"fn", secondaryFn},
    };
    return flags;
}

// Why a bundle identifier is malformed; none when it is not. An identifier
// names an application in messages, file names and the store: a control
// character (a NUL above all) or half a UTF-16 pair would cut or garble it there.
std::optional<QString> bundleIdentifierFault(const QString& identifier)
{
    for (const QChar character : identifier) {
        if (character.category() == QChar::Other_Control)
            return QStringLiteral("it holds the control character U+%1")
                .arg(QString::number(character.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    }
    if (!identifier.isValidUtf16())
        return QStringLiteral("it holds half a UTF-16 surrogate pair");
    return std::nullopt;
}

// The text as a JSON string, so that a control character shows as its escape.
QString quoted(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// Reads the fields of one step; the first problem found is kept.
class StepReader {
public:
    StepReader(const QJsonObject& object, QString prefix) : object_(object), prefix_(std::move(prefix)) { }

    bool failed() const { return !error_.isEmpty(); }
    const QString& error() const { return error_; }
    void fail(const QString& message)
    {
        if (error_.isEmpty())
            error_ = prefix_ + message;
    }
    bool has(const QString& key) const { return object_.contains(key) && !object_.value(key).isNull(); }

    double number(const QString& key, std::optional<double> fallback = std::nullopt)
    {
        if (!has(key)) {
            if (!fallback)
                fail(QStringLiteral("missing \"%1\"").arg(key));
            return fallback.value_or(0);
        }
        const QJsonValue value = object_.value(key);
        if (!value.isDouble() || !std::isfinite(value.toDouble())) {
            fail(QStringLiteral("\"%1\" must be a number").arg(key));
            return 0;
        }
        return value.toDouble();
    }

    int integer(const QString& key, std::optional<int> fallback = std::nullopt)
    {
        const double value = number(key, fallback ? std::optional<double>(*fallback) : std::nullopt);
        if (failed())
            return 0;
        if (value != std::floor(value) || std::abs(value) > 1e9) {
            fail(QStringLiteral("\"%1\" must be a whole number").arg(key));
            return 0;
        }
        return static_cast<int>(value);
    }

    QString text(const QString& key)
    {
        if (!has(key)) {
            fail(QStringLiteral("missing \"%1\"").arg(key));
            return {};
        }
        const QJsonValue value = object_.value(key);
        if (!value.isString() || value.toString().trimmed().isEmpty()) {
            fail(QStringLiteral("\"%1\" must be a non-empty text").arg(key));
            return {};
        }
        return value.toString();
    }

    std::optional<QString> optionalText(const QString& key)
    {
        if (!has(key))
            return std::nullopt;
        const QJsonValue value = object_.value(key);
        if (!value.isString()) {
            fail(QStringLiteral("\"%1\" must be a text").arg(key));
            return std::nullopt;
        }
        return value.toString();
    }

    bool boolean(const QString& key, bool fallback)
    {
        if (!has(key))
            return fallback;
        const QJsonValue value = object_.value(key);
        if (!value.isBool()) {
            fail(QStringLiteral("\"%1\" must be true or false").arg(key));
            return fallback;
        }
        return value.toBool();
    }

    QString bundleIdentifier(const QString& key)
    {
        const QString identifier = text(key);
        if (failed())
            return {};
        if (const std::optional<QString> fault = bundleIdentifierFault(identifier))
            fail(QStringLiteral("\"%1\" %2 is malformed: %3").arg(key, quoted(identifier), *fault));
        return identifier;
    }

    QStringList bundleIdentifierList(const QString& key)
    {
        if (!has(key) || !object_.value(key).isArray()) {
            fail(QStringLiteral("\"%1\" must be an array of bundle identifiers").arg(key));
            return {};
        }
        QStringList result;
        const QJsonArray array = object_.value(key).toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            const QString identifier = array.at(i).toString();
            if (!array.at(i).isString() || identifier.trimmed().isEmpty()) {
                fail(QStringLiteral("\"%1\"[%2] must be a non-empty text").arg(key).arg(i));
                return {};
            }
            if (const std::optional<QString> fault = bundleIdentifierFault(identifier)) {
                fail(QStringLiteral("\"%1\"[%2] %3 is malformed: %4").arg(key).arg(i).arg(quoted(identifier), *fault));
                return {};
            }
            result.append(identifier);
        }
        if (result.isEmpty())
            fail(QStringLiteral("\"%1\" must name at least one application").arg(key));
        return result;
    }

private:
    const QJsonObject& object_;
    QString prefix_;
    QString error_;
};

void parseChord(StepReader& reader, ScriptStep& step)
{
    step.chord = reader.text("chord");
    if (reader.failed())
        return;
    const QStringList parts = step.chord.toLower().split('+');
    std::optional<std::int64_t> keyCode;
    for (const QString& rawPart : parts) {
        const QString part = rawPart.trimmed();
        if (const auto flag = modifierFlags().find(part); flag != modifierFlags().end()) {
            step.modifierFlags |= flag->second;
            continue;
        }
        const std::optional<std::int64_t> code = platform::virtualKeyCodeNamed(part);
        if (!code) {
            reader.fail(QStringLiteral("unknown key \"%1\" in \"chord\"").arg(part));
            return;
        }
        if (keyCode) {
            reader.fail(QStringLiteral("\"chord\" names more than one key"));
            return;
        }
        keyCode = code;
    }
    if (!keyCode) {
        reader.fail(QStringLiteral("\"chord\" names no key"));
        return;
    }
    step.keyCode = *keyCode;
}

void readActionFields(StepReader& reader, ScriptStep& step)
{
    switch (step.action) {
    case Action::startSession:
        step.apps = reader.bundleIdentifierList("apps");
        step.durationSeconds = reader.integer("durationSeconds");
        if (!reader.failed() && step.durationSeconds < 0)
            reader.fail(QStringLiteral("\"durationSeconds\" must not be negative (0 means no limit)"));
        step.goal = reader.optionalText("goal");
        step.hardcore = reader.boolean("hardcore", false);
        step.setupSeconds = reader.integer("setupSeconds", 0);
        if (!reader.failed() && step.setupSeconds < 0)
            reader.fail(QStringLiteral("\"setupSeconds\" must not be negative"));
        break;
    case Action::click:
        step.point = QPointF(reader.number("x"), reader.number("y"));
        step.button = reader.integer("button", 0);
        if (!reader.failed() && (step.button < 0 || step.button > 2))
            reader.fail(QStringLiteral("\"button\" must be 0 (left), 1 (right) or 2 (other)"));
        break;
    case Action::clickText:
    case Action::type:
        step.text = reader.text("text");
        break;
    case Action::key:
        parseChord(reader, step);
        break;
    case Action::launch:
    case Action::quit:
    case Action::minimize:
        step.bundleID = reader.bundleIdentifier("bundleID");
        break;
    case Action::move:
        step.bundleID = reader.bundleIdentifier("bundleID");
        step.point = QPointF(reader.number("x"), reader.number("y"));
        for (auto [key, field] : {std::pair{"width", &step.width}, std::pair{"height", &step.height}}) {
            if (!reader.has(key))
                continue;
            *field = reader.number(key);
            if (!reader.failed() && *field <= 0)
                reader.fail(QStringLiteral("\"%1\" must be above 0").arg(key));
        }
        break;
    case Action::switchSpace:
        step.display = reader.integer("display", 0);
        if (!reader.failed() && step.display < 0)
            reader.fail(QStringLiteral("\"display\" must not be negative"));
        if (reader.has("space") && reader.has("step")) {
            reader.fail(QStringLiteral("give either \"space\" or \"step\", not both"));
        } else if (reader.has("space")) {
            step.space = reader.integer("space");
            if (!reader.failed() && *step.space < 0)
                reader.fail(QStringLiteral("\"space\" must not be negative"));
        } else {
            step.spaceStep = reader.integer("step", 1);
            if (!reader.failed() && step.spaceStep == 0)
                reader.fail(QStringLiteral("\"step\" must not be 0"));
        }
        break;
    case Action::screenshot:
        step.name = reader.text("name");
        if (!reader.failed() && !QRegularExpression("^[A-Za-z0-9_.-]+$").match(step.name).hasMatch())
            reader.fail(QStringLiteral("\"name\" may only hold letters, digits, \".\", \"_\" and \"-\""));
        break;
    case Action::advance:
        step.seconds = reader.number("seconds", 0);
        if (!reader.failed() && step.seconds < 0)
            reader.fail(QStringLiteral("\"seconds\" must not be negative"));
        break;
    case Action::sigterm:
    case Action::terminate:
        break;
    }
}

RunScript::ParseResult failure(const QString& message)
{
    return {std::nullopt, message};
}

} // namespace

QString toRaw(ScriptStep::Action action)
{
    for (const auto& [candidate, name] : actionNames()) {
        if (candidate == action)
            return name;
    }
    return {};
}

namespace {

// The services a script names; the first problem found.
std::optional<QString> readEndpoints(const QJsonValue& value, ServiceEndpoints& endpoints)
{
    if (!value.isObject())
        return QStringLiteral("must be an object");
    const QJsonObject object = value.toObject();
    const std::map<QString, std::optional<QUrl>*> entries{{QStringLiteral("analytics"), &endpoints.analytics},
                                                          {QStringLiteral("reports"), &endpoints.reports},
                                                          {QStringLiteral("updates"), &endpoints.updateFeed}};
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const auto entry = entries.find(it.key());
        if (entry == entries.end())
            return QStringLiteral("unknown service \"%1\"; expected analytics, reports, updates").arg(it.key());
        const QUrl url(it.value().toString(), QUrl::StrictMode);
        if (!url.isValid() || url.host().isEmpty()
            || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
            return QStringLiteral("\"%1\" must be an http or https URL").arg(it.key());
        *entry->second = url;
    }
    return std::nullopt;
}

} // namespace

RunScript::ParseResult RunScript::parse(const QByteArray& json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return failure(
            QStringLiteral("not valid JSON at offset %1: %2").arg(parseError.offset).arg(parseError.errorString()));
    if (!document.isObject())
        return failure(QStringLiteral("the script must be a JSON object with \"steps\""));
    const QJsonObject root = document.object();
    if (!root.value("steps").isArray())
        return failure(QStringLiteral("\"steps\" must be an array"));

    RunScript script;
    if (root.contains("language")) {
        script.language_ = fromRaw<VeskLanguage>(root.value("language").toString());
        if (!script.language_)
            return failure(QStringLiteral("\"language\" must be one of system, de, en, it, fr, es"));
    }
    if (root.contains("endpoints")) {
        if (const std::optional<QString> problem = readEndpoints(root.value("endpoints"), script.endpoints_))
            return failure(QStringLiteral("\"endpoints\": ") + *problem);
    }
    std::set<QString> screenshotNames;
    const QJsonArray steps = root.value("steps").toArray();
    for (qsizetype i = 0; i < steps.size(); ++i) {
        if (!steps.at(i).isObject())
            return failure(QStringLiteral("steps[%1]: must be an object").arg(i));
        const QJsonObject object = steps.at(i).toObject();

        const QJsonValue doValue = object.value("do");
        const auto name = std::find_if(actionNames().begin(), actionNames().end(),
                                       [&](const auto& entry) { return entry.second == doValue.toString(); });
        if (!doValue.isString() || name == actionNames().end())
            return failure(QStringLiteral("steps[%1]: unknown or missing \"do\" (%2); expected one of %3")
                               .arg(i)
                               .arg(doValue.isString() ? "\"" + doValue.toString() + "\"" : QStringLiteral("none"))
                               .arg([] {
                                   QStringList all;
                                   for (const auto& entry : actionNames())
                                       all.append(entry.second);
                                   return all.join(", ");
                               }()));

        ScriptStep step;
        step.action = name->first;
        step.index = static_cast<int>(i);
        StepReader reader(object, QStringLiteral("steps[%1] (%2): ").arg(i).arg(name->second));

        const std::set<QString>& allowed = allowedFields().at(step.action);
        for (const QString& key : object.keys()) {
            if (key != "at" && key != "do" && key != "comment" && !allowed.count(key))
                reader.fail(QStringLiteral("unknown field \"%1\"").arg(key));
        }
        step.at = reader.number("at");
        if (!reader.failed() && step.at < 0)
            reader.fail(QStringLiteral("\"at\" must not be negative"));
        readActionFields(reader, step);
        if (!reader.failed() && step.action == Action::screenshot && !screenshotNames.insert(step.name).second)
            reader.fail(QStringLiteral("the screenshot name \"%1\" is already used").arg(step.name));
        if (reader.failed())
            return failure(reader.error());
        script.steps_.push_back(step);
    }

    std::stable_sort(script.steps_.begin(), script.steps_.end(),
                     [](const ScriptStep& a, const ScriptStep& b) { return a.at < b.at; });
    // A step whose time has passed runs at once, so the advances add up.
    double time = 0;
    for (const ScriptStep& step : script.steps_) {
        time = std::max(time, step.at) + (step.action == Action::advance ? step.seconds : 0);
        if (time > maximumSeconds)
            return failure(QStringLiteral("steps[%1] (%2): the run may cover at most %3 seconds of virtual time")
                               .arg(step.index)
                               .arg(toRaw(step.action))
                               .arg(maximumSeconds));
    }
    for (size_t i = 0; i + 1 < script.steps_.size(); ++i) {
        if (script.steps_[i].action == Action::terminate)
            return failure(QStringLiteral("steps[%1] (terminate): must be the last step; steps[%2] comes after it")
                               .arg(script.steps_[i].index)
                               .arg(script.steps_[i + 1].index));
    }
    return {std::move(script), {}};
}

RunScript::ParseResult RunScript::loadFile(const QString& path)
{
    const InputFileContents file = readInputFile(path);
    if (!file.ok())
        return failure(QStringLiteral("cannot read the script %1: %2").arg(path, file.error));
    return parse(file.data);
}

double RunScript::endTime() const
{
    return steps_.empty() ? 0 : steps_.back().at;
}

std::optional<QString> RunScript::uninstalledApplication(const std::function<bool(const QString&)>& isInstalled) const
{
    for (const ScriptStep& step : steps_) {
        if (step.action != Action::startSession)
            continue;
        for (qsizetype i = 0; i < step.apps.size(); ++i) {
            if (!isInstalled(step.apps.at(i)))
                return QStringLiteral("steps[%1] (startSession): \"apps\"[%2] %3 is not installed on the desktop")
                    .arg(step.index)
                    .arg(i)
                    .arg(quoted(step.apps.at(i)));
        }
    }
    return std::nullopt;
}

} // namespace vesk
