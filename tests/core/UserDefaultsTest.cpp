#include "core/UserDefaults.h"

#include "LogCapture.h"
#include "core/FileIO.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using vesk::UserDefaults;

namespace {

QJsonObject fileContents(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

void writeFile(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(contents);
}

} // namespace

TEST(UserDefaults, OneJsonFilePerSuiteUnderTheRoot)
{
    QTemporaryDir root;
    UserDefaults standard(UserDefaults::standardSuiteName, root.path());
    UserDefaults suite("com.example.analytics", root.path());
    standard.setBool("vesk.flag", true);
    suite.setInteger("count", 3);

    EXPECT_EQ(standard.filePath(), root.filePath("de.pelko.vesk.json"));
    EXPECT_EQ(suite.filePath(), root.filePath("com.example.analytics.json"));
    EXPECT_EQ(fileContents(standard.filePath()), (QJsonObject{{"vesk.flag", true}}));
    EXPECT_EQ(fileContents(suite.filePath()), (QJsonObject{{"count", 3}}));
    EXPECT_FALSE(standard.objectExists("count"));
}

TEST(UserDefaults, ValuesKeepTheirTypeAcrossAReload)
{
    QTemporaryDir root;
    {
        UserDefaults defaults("types", root.path());
        defaults.setBool("bool", false);
        defaults.setInteger("integer", 900);
        defaults.setInteger("zero", 0);
        defaults.setDouble("double", 0.25);
        defaults.setString("text", "cosmic");
        defaults.setArray("mixed", {"a", 1, true});
        defaults.setStringArray("texts", {"2:targetMode", "1:appsBar"});
        defaults.setDictionary("dictionary", {{"autohide", true}, {"autohide-delay", 0.5}});
        defaults.setData("data", QByteArray("[{\"st\":1}]\0\xff", 12));
        defaults.setArray("nestedData", {QByteArray("ab"), QVariantMap{{"inner", QByteArray("c")}}});
    }
    const QJsonObject onDisk = fileContents(root.filePath("types.json"));
    EXPECT_EQ(onDisk["mixed"], (QJsonArray{"a", 1, true}));
    EXPECT_EQ(onDisk["zero"], QJsonValue(0));
    EXPECT_EQ(onDisk["bool"], QJsonValue(false));
    EXPECT_EQ(onDisk["data"], (QJsonObject{{"$data", "W3sic3QiOjF9XQD/"}}));

    UserDefaults reloaded("types", root.path());
    EXPECT_TRUE(reloaded.objectExists("bool"));
    EXPECT_FALSE(reloaded.boolForKey("bool"));
    EXPECT_EQ(reloaded.object("bool")->typeId(), QMetaType::Bool);
    EXPECT_EQ(reloaded.integerForKey("integer"), 900);
    EXPECT_TRUE(reloaded.objectExists("zero"));
    EXPECT_EQ(reloaded.integerForKey("zero"), 0);
    EXPECT_DOUBLE_EQ(reloaded.doubleForKey("double"), 0.25);
    EXPECT_EQ(reloaded.stringForKey("text"), QString("cosmic"));
    EXPECT_EQ(reloaded.arrayForKey("mixed"), (QVariantList{"a", 1, true}));
    EXPECT_EQ(reloaded.stringArrayForKey("mixed"), std::nullopt);
    EXPECT_EQ(reloaded.stringArrayForKey("texts"), (QStringList{"2:targetMode", "1:appsBar"}));
    EXPECT_EQ(reloaded.dictionaryForKey("dictionary"), (QVariantMap{{"autohide", true}, {"autohide-delay", 0.5}}));
    EXPECT_EQ(reloaded.dataForKey("data"), QByteArray("[{\"st\":1}]\0\xff", 12));
    EXPECT_EQ(reloaded.object("data")->typeId(), QMetaType::QByteArray);
    EXPECT_EQ(reloaded.arrayForKey("nestedData"),
              (QVariantList{QByteArray("ab"), QVariantMap{{"inner", QByteArray("c")}}}));
    EXPECT_EQ(reloaded.dataForKey("text"), std::nullopt);
    EXPECT_EQ(reloaded.stringForKey("data"), std::nullopt);
    EXPECT_EQ(reloaded.dictionaryRepresentation().keys(),
              (QStringList{"bool", "data", "dictionary", "double", "integer", "mixed", "nestedData", "text", "texts",
                           "zero"}));
}

TEST(UserDefaults, TypedReadsOfMissingOrOtherTypes)
{
    QTemporaryDir root;
    UserDefaults defaults("reads", root.path());
    defaults.setString("yes", "YES");
    defaults.setString("numeric", "1800");
    defaults.setString("word", "abc");
    defaults.setArray("array", {"x"});
    defaults.setInteger("number", 2);

    EXPECT_FALSE(defaults.objectExists("missing"));
    EXPECT_EQ(defaults.object("missing"), std::nullopt);
    EXPECT_FALSE(defaults.boolForKey("missing"));
    EXPECT_EQ(defaults.integerForKey("missing"), 0);
    EXPECT_EQ(defaults.stringForKey("missing"), std::nullopt);
    EXPECT_EQ(defaults.arrayForKey("missing"), std::nullopt);

    EXPECT_TRUE(defaults.boolForKey("yes"));
    EXPECT_FALSE(defaults.boolForKey("word"));
    EXPECT_TRUE(defaults.boolForKey("number"));
    EXPECT_EQ(defaults.integerForKey("numeric"), 1800);
    EXPECT_EQ(defaults.integerForKey("word"), 0);
    EXPECT_EQ(defaults.integerForKey("array"), 0);
    EXPECT_EQ(defaults.stringForKey("array"), std::nullopt);
    EXPECT_EQ(defaults.stringForKey("number"), QString("2"));
    EXPECT_EQ(defaults.arrayForKey("word"), std::nullopt);
    EXPECT_EQ(defaults.dictionaryForKey("array"), std::nullopt);
}

TEST(UserDefaults, InstancesOverOneSuiteShareWritesAndRemovals)
{
    QTemporaryDir root;
    UserDefaults first("shared", root.path());
    UserDefaults second("shared", root.path());
    first.setInteger("key", 7);
    EXPECT_EQ(second.integerForKey("key"), 7);
    second.removeObject("key");
    EXPECT_FALSE(first.objectExists("key"));
    EXPECT_TRUE(fileContents(first.filePath()).isEmpty());
}

TEST(UserDefaults, AnUnreadableFileIsMovedAsideNamedInAWarningAndNeverWrittenOver)
{
    const std::vector<std::pair<const char*, QByteArray>> cases{
        {"a syntax error", R"({"vesk.analyticsEnabled": false, "vesk.language": "fr",})"},
        {"not an object", R"([false])"},
    };
    for (const auto& [name, contents] : cases) {
        QTemporaryDir root;
        const QString path = root.filePath("settings.json");
        writeFile(path, contents);
        vesk::test::LogCapture log;
        {
            UserDefaults defaults("settings", root.path());
            EXPECT_TRUE(defaults.dictionaryRepresentation().isEmpty()) << name;
            defaults.setBool("vesk.flag", true);
        }
        // The user's file is kept whole beside the new one.
        const QStringList aside = QDir(root.path()).entryList({"settings.json.unreadable-*"}, QDir::Files);
        ASSERT_EQ(aside.size(), 1) << name;
        QFile kept(root.filePath(aside.at(0)));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), contents) << name;
        EXPECT_EQ(fileContents(path), (QJsonObject{{"vesk.flag", true}})) << name;

        const QStringList warnings = log.categoryMessages("UserDefaults");
        ASSERT_EQ(warnings.size(), 1) << name;
        EXPECT_TRUE(warnings.at(0).contains("file=" + path)) << warnings.at(0).toStdString();
        EXPECT_TRUE(warnings.at(0).contains("movedTo=" + root.filePath(aside.at(0)))) << warnings.at(0).toStdString();
    }
}

TEST(UserDefaults, AnEmptyFileIsAnEmptyDomainAndStaysWhereItIs)
{
    QTemporaryDir root;
    writeFile(root.filePath("empty.json"), "");
    UserDefaults defaults("empty", root.path());
    defaults.setInteger("key", 3);
    EXPECT_EQ(QDir(root.path()).entryList(QDir::Files), (QStringList{"empty.json", "empty.json.last-good"}));
    EXPECT_EQ(fileContents(root.filePath("empty.json")), (QJsonObject{{"key", 3}}));
}

TEST(UserDefaults, AWriteThatDoesNotReachTheFileIsReported)
{
    QTemporaryDir root;
    UserDefaults defaults("full", root.path());
    defaults.setInteger("before", 1);
    QStringList failures;
    defaults.setWriteFailureHandler([&](const QString& failure) { failures.append(failure); });
    vesk::test::LogCapture log;

    vesk::setFileWriteFaultInjector([](const QString&) { return QStringLiteral("No space left on device"); });
    defaults.setBool("during", true);
    defaults.removeObject("before");
    vesk::setFileWriteFaultInjector({});
    EXPECT_EQ(failures.size(), 2);
    EXPECT_TRUE(failures.value(0).startsWith(defaults.filePath())) << failures.value(0).toStdString();
    EXPECT_EQ(log.count("Could not save the settings — file=" + defaults.filePath()), 2);
    EXPECT_EQ(fileContents(defaults.filePath()), (QJsonObject{{"before", 1}})) << "the file is unchanged";

    // Once there is room again, the next write brings the file up to date.
    defaults.setBool("after", true);
    EXPECT_EQ(failures.size(), 2);
    EXPECT_EQ(fileContents(defaults.filePath()), (QJsonObject{{"during", true}, {"after", true}}));
}

TEST(UserDefaults, EverySaveKeepsALastGoodCopyThatAnUnreadableFileIsRestoredFrom)
{
    QTemporaryDir root;
    const QString path = root.filePath("settings.json");
    const QString copy = UserDefaults::lastGoodCopyPath(path);
    {
        UserDefaults defaults("settings", root.path());
        defaults.setBool("vesk.analyticsEnabled", false);
        defaults.setString("vesk.language", "fr");
        EXPECT_EQ(fileContents(copy), fileContents(path));
    }
    writeFile(path, R"({"vesk.analyticsEnabled": false, "vesk.language": "fr"})" + QByteArray(1, '\xff'));
    vesk::test::LogCapture log;

    UserDefaults defaults("settings", root.path());
    EXPECT_EQ(defaults.dictionaryRepresentation(),
              (QVariantMap{{"vesk.analyticsEnabled", false}, {"vesk.language", "fr"}}));
    EXPECT_EQ(defaults.readFailure(), std::nullopt);
    EXPECT_EQ(QDir(root.path()).entryList({"settings.json.unreadable-*"}, QDir::Files).size(), 1);
    const QStringList warnings = log.categoryMessages("UserDefaults");
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings.at(0).contains("restored the last good copy")) << warnings.at(0).toStdString();
    EXPECT_TRUE(warnings.at(0).contains("copy=" + copy)) << warnings.at(0).toStdString();
}

TEST(UserDefaults, WithoutAReadableFileOrCopyTheDomainStartsEmptyAndSaysWhy)
{
    const std::vector<std::pair<const char*, std::optional<QByteArray>>> copies{
        {"an unreadable copy", QByteArray("{\"vesk.flag\": tru")},
        {"no copy", std::nullopt},
    };
    for (const auto& [name, copyContents] : copies) {
        QTemporaryDir root;
        const QString path = root.filePath("settings.json");
        writeFile(path, "[1");
        if (copyContents)
            writeFile(UserDefaults::lastGoodCopyPath(path), *copyContents);
        vesk::test::LogCapture log;

        UserDefaults defaults("settings", root.path());
        EXPECT_TRUE(defaults.dictionaryRepresentation().isEmpty()) << name;
        ASSERT_TRUE(defaults.readFailure().has_value()) << name;
        EXPECT_TRUE(defaults.readFailure()->startsWith("not valid JSON")) << defaults.readFailure()->toStdString();
        EXPECT_TRUE(defaults.readFailure()->contains("the last good copy")) << defaults.readFailure()->toStdString();
        EXPECT_TRUE(log.categoryMessages("UserDefaults").value(0).contains("starting from the defaults")) << name;
    }

    // A first start has nothing to read and nothing lost.
    QTemporaryDir fresh;
    EXPECT_EQ(UserDefaults("settings", fresh.path()).readFailure(), std::nullopt);
}

TEST(UserDefaults, AFileWithoutACopyGetsOneAndACopyThatCannotBeWrittenIsReported)
{
    QTemporaryDir root;
    const QString path = root.filePath("settings.json");
    const QString copy = UserDefaults::lastGoodCopyPath(path);
    writeFile(path, R"({"vesk.language": "it"})");
    UserDefaults defaults("settings", root.path());
    EXPECT_EQ(fileContents(copy), (QJsonObject{{"vesk.language", "it"}}));

    QStringList failures;
    defaults.setWriteFailureHandler([&](const QString& failure) { failures.append(failure); });
    vesk::setFileWriteFaultInjector([copy](const QString& written) {
        return written == copy ? std::optional<QString>("No space left on device") : std::nullopt;
    });
    defaults.setString("vesk.language", "es");
    vesk::setFileWriteFaultInjector({});
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures.at(0).contains(copy)) << failures.at(0).toStdString();
    EXPECT_EQ(fileContents(copy), (QJsonObject{{"vesk.language", "it"}})) << "the copy is whole or unchanged";
    EXPECT_EQ(fileContents(path), (QJsonObject{{"vesk.language", "es"}}));
}
