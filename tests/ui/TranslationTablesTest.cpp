#include "ui/Localizer.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace vesk {
namespace {

// The interface's tables, checked against the texts the sources look up. The
// sources' texts are what lupdate finds in src/, as scripts/update-translations.sh
// finds them.

struct TextKey {
    QString context;
    QString source;
    QString comment;

    bool operator<(const TextKey& other) const
    {
        return std::tie(context, source, comment) < std::tie(other.context, other.source, other.comment);
    }
    std::string name() const { return (context + QStringLiteral(" / ") + source).toStdString(); }
};

struct Entry {
    bool finished = false;
    QStringList translations;
};

using Table = std::map<TextKey, Entry>;

const QStringList languageCodes{QStringLiteral("en"), QStringLiteral("it"), QStringLiteral("fr"), QStringLiteral("es")};

QString tablePath(const QString& code)
{
    return QStringLiteral(VESK_SOURCE_DIR "/translations/vesk_%1.ts").arg(code);
}

Entry readTranslation(QXmlStreamReader& xml)
{
    Entry entry;
    const QString type = xml.attributes().value(QStringLiteral("type")).toString();
    entry.finished = type.isEmpty();
    QString text;
    while (xml.readNext() != QXmlStreamReader::EndElement || xml.name() != QStringLiteral("translation")) {
        if (xml.isStartElement() && xml.name() == QStringLiteral("numerusform"))
            entry.translations.append(xml.readElementText());
        else if (xml.isCharacters())
            text += xml.text();
        if (xml.atEnd())
            break;
    }
    if (entry.translations.isEmpty())
        entry.translations.append(text);
    return entry;
}

Table readTable(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    Table table;
    QString context;
    TextKey key;
    Entry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QStringLiteral("name"))
                context = xml.readElementText();
            else if (xml.name() == QStringLiteral("message"))
                key = {context, {}, {}};
            else if (xml.name() == QStringLiteral("source"))
                key.source = xml.readElementText();
            else if (xml.name() == QStringLiteral("comment"))
                key.comment = xml.readElementText();
            else if (xml.name() == QStringLiteral("translation"))
                entry = readTranslation(xml);
        } else if (xml.isEndElement() && xml.name() == QStringLiteral("message")) {
            table[key] = entry;
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return table;
}

// The texts the sources look up, found once per test program.
const Table& sourceTexts()
{
    static const Table texts = [] {
        QTemporaryDir folder;
        const QString found = folder.filePath(QStringLiteral("found.ts"));
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(QStringLiteral(VESK_LUPDATE),
                      {QStringLiteral("-silent"), QStringLiteral("-source-language"), QStringLiteral("de"),
                       QStringLiteral("-locations"), QStringLiteral("none"), QStringLiteral(VESK_SOURCE_DIR "/src"),
                       QStringLiteral("-ts"), found});
        EXPECT_TRUE(lupdate.waitForFinished(60'000));
        EXPECT_EQ(lupdate.exitCode(), 0) << lupdate.readAll().toStdString();
        return readTable(found);
    }();
    return texts;
}

QStringList placeholders(const QString& text)
{
    static const QRegularExpression placeholder(QStringLiteral("%(L?n|\\d)"));
    QStringList found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
        found.append(match.captured());
    found.sort();
    return found;
}

TEST(TranslationTables, TheSourcesLookUpTexts)
{
    // A guard for the other checks: lupdate must find the views' texts.
    EXPECT_TRUE(sourceTexts().contains({QStringLiteral("SessionHUDView"), QStringLiteral("VESK aktiv"), {}}));
}

TEST(TranslationTables, EveryShownTextHasAFinishedEntryInEveryTable)
{
    for (const QString& code : languageCodes) {
        const Table table = readTable(tablePath(code));
        for (const auto& [key, unused] : sourceTexts()) {
            const auto entry = table.find(key);
            if (entry == table.end()) {
                ADD_FAILURE() << "vesk_" << code.toStdString() << ".ts has no entry for " << key.name()
                              << " (run scripts/update-translations.sh and translate it)";
                continue;
            }
            EXPECT_TRUE(entry->second.finished) << "vesk_" << code.toStdString() << ".ts: unfinished " << key.name();
            for (const QString& translation : entry->second.translations)
                EXPECT_FALSE(translation.trimmed().isEmpty())
                    << "vesk_" << code.toStdString() << ".ts: empty " << key.name();
        }
    }
}

TEST(TranslationTables, NoTableKeepsATextTheSourcesNoLongerShow)
{
    for (const QString& code : languageCodes) {
        for (const auto& [key, unused] : readTable(tablePath(code)))
            EXPECT_TRUE(sourceTexts().contains(key)) << "vesk_" << code.toStdString() << ".ts: obsolete " << key.name();
    }
}

TEST(TranslationTables, TranslationsKeepThePlaceholders)
{
    for (const QString& code : languageCodes) {
        for (const auto& [key, entry] : readTable(tablePath(code))) {
            for (const QString& translation : entry.translations)
                EXPECT_EQ(placeholders(translation), placeholders(key.source))
                    << "vesk_" << code.toStdString() << ".ts: " << key.name() << " -> " << translation.toStdString();
        }
    }
}

TEST(TranslationTables, EachLanguageShowsItsEmbeddedTable)
{
    for (const QString& code : languageCodes) {
        const Localizer localizer{QLocale(code)};
        ASSERT_TRUE(localizer.hasTable()) << code.toStdString();
        const Table table = readTable(tablePath(code));
        const Entry& entry = table.at({QStringLiteral("SessionHUDView"), QStringLiteral("VESK verlassen"), {}});
        EXPECT_EQ(localizer.translate("SessionHUDView", "VESK verlassen"), entry.translations.front())
            << code.toStdString();
        EXPECT_NE(localizer.translate("SessionHUDView", "VESK verlassen"), QStringLiteral("VESK verlassen"));
    }
    EXPECT_FALSE(Localizer(QLocale(QLocale::German)).hasTable());
}

TEST(TranslationTables, ATextWithoutAnEntryShowsGerman)
{
    for (const QString& code : languageCodes) {
        EXPECT_EQ(Localizer(QLocale(code)).translate("SessionHUDView", "Noch nicht übersetzt"),
                  QStringLiteral("Noch nicht übersetzt"))
            << code.toStdString();
    }
}

} // namespace
} // namespace vesk
