#include "scripted/RunScript.h"

#include "platform/simulated/DesktopEventSystem.h"

#include "UnreadableInputFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vesk;
using Action = ScriptStep::Action;

namespace {

RunScript parsed(const char* json)
{
    RunScript::ParseResult result = RunScript::parse(json);
    EXPECT_TRUE(result.ok()) << result.error.toStdString();
    return result.script.value_or(RunScript());
}

TEST(RunScriptTest, ReadsEveryStepOfTheDocumentedShape)
{
    const RunScript script = parsed(R"({"steps": [
        {"at": 0.0, "do": "startSession", "apps": ["org.example.Browser"], "durationSeconds": 60, "goal": "Write", "hardcore": false},
        {"at": 5.0, "do": "click", "x": 100, "y": 200},
        {"at": 6.0, "do": "key", "chord": "cmd+shift+escape"},
        {"at": 7.0, "do": "launch", "bundleID": "org.example.Chat"},
        {"at": 8.0, "do": "quit", "bundleID": "org.example.Chat"},
        {"at": 9.0, "do": "minimize", "bundleID": "org.example.Browser"},
        {"at": 9.5, "do": "move", "bundleID": "org.example.Browser", "x": 10, "y": 20, "width": 800},
        {"at": 9.8, "do": "switchSpace", "display": 0, "space": 1},
        {"at": 10.0, "do": "screenshot", "name": "during"},
        {"at": 11.0, "do": "advance", "seconds": 5},
        {"at": 12.0, "do": "sigterm", "comment": "kiosk off"},
        {"at": 13.0, "do": "clickText", "text": "ENTER VESK"},
        {"at": 14.0, "do": "type", "text": "Text Editor"},
        {"at": 70.0, "do": "terminate"}]})");
    ASSERT_EQ(script.steps().size(), 14u);
    const auto& s = script.steps();

    EXPECT_EQ(s[0].action, Action::startSession);
    EXPECT_EQ(s[0].apps, QStringList{"org.example.Browser"});
    EXPECT_EQ(s[0].durationSeconds, 60);
    EXPECT_EQ(s[0].goal, QString("Write"));
    EXPECT_FALSE(s[0].hardcore);

    EXPECT_EQ(s[1].action, Action::click);
    EXPECT_EQ(s[1].point, QPointF(100, 200));
    EXPECT_EQ(s[1].button, 0);

    EXPECT_EQ(s[2].keyCode, 53);
    EXPECT_EQ(s[2].modifierFlags, platform::EventFlag::command | platform::EventFlag::shift);

    EXPECT_EQ(s[3].bundleID, "org.example.Chat");
    EXPECT_EQ(s[6].width, 800.0);
    EXPECT_EQ(s[6].height, std::nullopt);
    EXPECT_EQ(s[7].space, 1);
    EXPECT_EQ(s[8].name, "during");
    EXPECT_EQ(s[9].seconds, 5.0);
    EXPECT_EQ(s[10].action, Action::sigterm);
    EXPECT_EQ(s[11].action, Action::clickText);
    EXPECT_EQ(s[11].text, "ENTER VESK");
    EXPECT_EQ(s[12].action, Action::type);
    EXPECT_EQ(s[12].text, "Text Editor");
    EXPECT_EQ(s[13].action, Action::terminate);
    EXPECT_EQ(script.endTime(), 70.0);
}

TEST(RunScriptTest, OptionalFieldsTakeTheirDefaults)
{
    const RunScript script = parsed(R"({"steps": [
        {"at": 0, "do": "startSession", "apps": ["a"], "durationSeconds": 0},
        {"at": 1, "do": "switchSpace"}]})");
    ASSERT_EQ(script.steps().size(), 2u);
    EXPECT_EQ(script.steps()[0].goal, std::nullopt);
    EXPECT_FALSE(script.steps()[0].hardcore);
    EXPECT_EQ(script.steps()[0].setupSeconds, 0);
    EXPECT_EQ(script.steps()[1].display, 0);
    EXPECT_EQ(script.steps()[1].space, std::nullopt);
    EXPECT_EQ(script.steps()[1].spaceStep, 1);
}

TEST(RunScriptTest, TheLanguageIsTheSettingsRawValueOrNone)
{
    EXPECT_EQ(RunScript::parse(R"({"language": "fr", "steps": []})").script->language(), VeskLanguage::french);
    EXPECT_EQ(RunScript::parse(R"({"language": "system", "steps": []})").script->language(), VeskLanguage::system);
    EXPECT_FALSE(RunScript::parse(R"({"steps": []})").script->language().has_value());
}

TEST(RunScriptTest, TheEndpointsAreTheServicesTheScriptNames)
{
    const RunScript named = parsed(R"({"endpoints": {"analytics": "http://127.0.0.1:8080/",
        "reports": "https://reports.example"}, "steps": []})");
    EXPECT_EQ(named.endpoints(),
              (ServiceEndpoints{QUrl("http://127.0.0.1:8080/"), QUrl("https://reports.example"), std::nullopt}));
    EXPECT_EQ(parsed(R"({"steps": []})").endpoints(), ServiceEndpoints{});
}

TEST(RunScriptTest, StepsRunInTimeOrderAndKeepFileOrderForEqualTimes)
{
    const RunScript script = parsed(R"({"steps": [
        {"at": 9, "do": "screenshot", "name": "late"},
        {"at": 2, "do": "screenshot", "name": "first"},
        {"at": 2, "do": "screenshot", "name": "second"}]})");
    ASSERT_EQ(script.steps().size(), 3u);
    EXPECT_EQ(script.steps()[0].name, "first");
    EXPECT_EQ(script.steps()[1].name, "second");
    EXPECT_EQ(script.steps()[2].name, "late");
    EXPECT_EQ(script.steps()[2].index, 0);
}

struct BadScript {
    const char* json;
    const char* error;
};

class RunScriptErrorTest : public ::testing::TestWithParam<BadScript> { };

TEST_P(RunScriptErrorTest, NamesTheStepAndTheField)
{
    const RunScript::ParseResult result = RunScript::parse(GetParam().json);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.error.toStdString(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunScriptErrorTest,
    ::testing::Values(
        BadScript{"{", "not valid JSON at offset 1: unterminated object"},
        BadScript{"[]", "the script must be a JSON object with \"steps\""},
        BadScript{R"({"steps": {}})", "\"steps\" must be an array"},
        BadScript{R"({"language": "ru", "steps": []})", "\"language\" must be one of system, de, en, it, fr, es"},
        BadScript{R"({"language": 1, "steps": []})", "\"language\" must be one of system, de, en, it, fr, es"},
        BadScript{R"({"endpoints": [], "steps": []})", "\"endpoints\": must be an object"},
        BadScript{R"({"endpoints": {"mail": "http://127.0.0.1/"}, "steps": []})",
                  "\"endpoints\": unknown service \"mail\"; expected analytics, reports, updates"},
        BadScript{R"({"endpoints": {"updates": "ftp://127.0.0.1/feed.json"}, "steps": []})",
                  "\"endpoints\": \"updates\" must be an http or https URL"},
        BadScript{R"({"endpoints": {"reports": 7}, "steps": []})",
                  "\"endpoints\": \"reports\" must be an http or https URL"},
        BadScript{R"({"steps": [3]})", "steps[0]: must be an object"},
        BadScript{R"({"steps": [{"at": 1, "do": "dance"}]})",
                  "steps[0]: unknown or missing \"do\" (\"dance\"); expected one of startSession, click, clickText, "
                  "type, key, launch, "
                  "quit, minimize, move, switchSpace, screenshot, advance, sigterm, terminate"},
        BadScript{R"({"steps": [{"at": 1}]})",
                  "steps[0]: unknown or missing \"do\" (none); expected one of startSession, click, clickText, type, "
                  "key, launch, "
                  "quit, minimize, move, switchSpace, screenshot, advance, sigterm, terminate"},
        BadScript{R"({"steps": [{"do": "terminate"}]})", "steps[0] (terminate): missing \"at\""},
        BadScript{R"({"steps": [{"at": -1, "do": "terminate"}]})", "steps[0] (terminate): \"at\" must not be negative"},
        BadScript{R"({"steps": [{"at": "soon", "do": "terminate"}]})", "steps[0] (terminate): \"at\" must be a number"},
        BadScript{R"({"steps": [{"at": 0, "do": "click", "x": 1}]})", "steps[0] (click): missing \"y\""},
        BadScript{R"({"steps": [{"at": 0, "do": "click", "x": 1, "y": 2, "button": 4}]})",
                  "steps[0] (click): \"button\" must be 0 (left), 1 (right) or 2 (other)"},
        BadScript{R"({"steps": [{"at": 0, "do": "click", "x": 1, "y": 2, "z": 3}]})",
                  "steps[0] (click): unknown field \"z\""},
        BadScript{R"({"steps": [{"at": 0, "do": "startSession", "apps": [], "durationSeconds": 60}]})",
                  "steps[0] (startSession): \"apps\" must name at least one application"},
        BadScript{R"({"steps": [{"at": 0, "do": "startSession", "apps": ["a", 3], "durationSeconds": 60}]})",
                  "steps[0] (startSession): \"apps\"[1] must be a non-empty text"},
        BadScript{R"({"steps": [{"at": 0, "do": "startSession", "apps": ["a", "\ud83d\ude42\u0000x"]}]})",
                  "steps[0] (startSession): \"apps\"[1] \"\U0001F642\\u0000x\" is malformed: it holds the control "
                  "character U+0000"},
        BadScript{R"({"steps": [{"at": 0, "do": "startSession", "apps": ["org.example\nEditor"]}]})",
                  "steps[0] (startSession): \"apps\"[0] \"org.example\\nEditor\" is malformed: it holds the control "
                  "character U+000A"},
        BadScript{R"({"steps": [{"at": 0, "do": "startSession", "apps": [" "]}]})",
                  "steps[0] (startSession): \"apps\"[0] must be a non-empty text"},
        BadScript{R"({"steps": [{"at": 0, "do": "launch", "bundleID": "a\u007f"}]})",
                  "steps[0] (launch): \"bundleID\" \"a\u007f\" is malformed: it holds the control character U+007F"},
        BadScript{R"({"steps": [{"at": 0, "do": "startSession", "apps": ["a"], "durationSeconds": 1.5}]})",
                  "steps[0] (startSession): \"durationSeconds\" must be a whole number"},
        BadScript{R"({"steps": [{"at": 0, "do": "startSession", "apps": ["a"], "durationSeconds": -60}]})",
                  "steps[0] (startSession): \"durationSeconds\" must not be negative (0 means no limit)"},
        BadScript{
            R"({"steps": [{"at": 0, "do": "startSession", "apps": ["a"], "durationSeconds": 6, "hardcore": "no"}]})",
            "steps[0] (startSession): \"hardcore\" must be true or false"},
        BadScript{R"({"steps": [{"at": 0, "do": "key", "chord": "cmd+hyper+q"}]})",
                  "steps[0] (key): unknown key \"hyper\" in \"chord\""},
        BadScript{R"({"steps": [{"at": 0, "do": "key", "chord": "cmd+shift"}]})",
                  "steps[0] (key): \"chord\" names no key"},
        BadScript{R"({"steps": [{"at": 0, "do": "key", "chord": "a+b"}]})",
                  "steps[0] (key): \"chord\" names more than one key"},
        BadScript{R"({"steps": [{"at": 0, "do": "clickText"}]})", "steps[0] (clickText): missing \"text\""},
        BadScript{R"({"steps": [{"at": 0, "do": "type", "text": 4}]})",
                  "steps[0] (type): \"text\" must be a non-empty text"},
        BadScript{R"({"steps": [{"at": 0, "do": "launch", "bundleID": ""}]})",
                  "steps[0] (launch): \"bundleID\" must be a non-empty text"},
        BadScript{R"({"steps": [{"at": 0, "do": "move", "bundleID": "a", "x": 0, "y": 0, "height": 0}]})",
                  "steps[0] (move): \"height\" must be above 0"},
        BadScript{R"({"steps": [{"at": 0, "do": "switchSpace", "space": 1, "step": 1}]})",
                  "steps[0] (switchSpace): give either \"space\" or \"step\", not both"},
        BadScript{R"({"steps": [{"at": 0, "do": "screenshot", "name": "../x"}]})",
                  "steps[0] (screenshot): \"name\" may only hold letters, digits, \".\", \"_\" and \"-\""},
        BadScript{
            R"({"steps": [{"at": 0, "do": "screenshot", "name": "a"}, {"at": 1, "do": "screenshot", "name": "a"}]})",
            "steps[1] (screenshot): the screenshot name \"a\" is already used"},
        BadScript{R"({"steps": [{"at": 86401, "do": "terminate"}]})",
                  "steps[0] (terminate): the run may cover at most 86400 seconds of virtual time"},
        BadScript{R"({"steps": [{"at": 86000, "do": "advance", "seconds": 401}]})",
                  "steps[0] (advance): the run may cover at most 86400 seconds of virtual time"},
        BadScript{
            R"({"steps": [{"at": 0, "do": "advance", "seconds": 50000}, {"at": 10, "do": "advance", "seconds": 50000}]})",
            "steps[1] (advance): the run may cover at most 86400 seconds of virtual time"},
        BadScript{R"({"steps": [{"at": 0, "do": "advance", "seconds": 86000}, {"at": 1, "do": "click", "x": 1, "y": 1},
                                {"at": 2, "do": "advance", "seconds": 401}]})",
                  "steps[2] (advance): the run may cover at most 86400 seconds of virtual time"},
        BadScript{R"({"steps": [{"at": 5, "do": "terminate"}, {"at": 6, "do": "advance"}]})",
                  "steps[0] (terminate): must be the last step; steps[1] comes after it"}),
    [](const ::testing::TestParamInfo<BadScript>& testCase) { return "case" + std::to_string(testCase.index); });

TEST(RunScriptTest, AnApplicationThatIsNotInstalledIsNamedWithItsStep)
{
    const RunScript script = parsed(R"({"steps": [
        {"at": 9, "do": "startSession", "apps": ["org.example.TextEditor", "\ud83d\ude42"], "durationSeconds": 60},
        {"at": 1, "do": "startSession", "apps": ["org.example.TextEditor"], "durationSeconds": 60},
        {"at": 2, "do": "launch", "bundleID": "org.example.Missing"}]})");
    const auto installed = [](const QString& bundleID) { return bundleID == "org.example.TextEditor"; };
    EXPECT_EQ(script.uninstalledApplication(installed),
              QString("steps[0] (startSession): \"apps\"[1] \"\U0001F642\" is not installed on the desktop"));
    EXPECT_EQ(script.uninstalledApplication([](const QString&) { return true; }), std::nullopt);
}

TEST(RunScriptTest, AMissingFileIsAnErrorNamingIt)
{
    const RunScript::ParseResult result = RunScript::loadFile("/nonexistent/script.json");
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.error.startsWith("cannot read the script /nonexistent/script.json"))
        << result.error.toStdString();
}

TEST(RunScriptTest, OnlyRegularFilesOfAtMostSixteenMebibytesAreRead)
{
    QTemporaryDir directory;
    for (const auto& [path, reason] : test::unreadableInputFiles(directory))
        EXPECT_EQ(RunScript::loadFile(path).error, QStringLiteral("cannot read the script %1: %2").arg(path, reason));
}

} // namespace
