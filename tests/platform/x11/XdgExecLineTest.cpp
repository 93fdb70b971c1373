#include "platform/x11/XdgExecLine.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace vesk::platform;

namespace {

QStringList split(const QString& exec)
{
    const auto line = XdgExecLine::parse(exec);
    return line ? line->arguments() : QStringList{"(refused)"};
}

XdgExecContext context(QList<QUrl> documents = {})
{
    return {std::move(documents), "org.example.Editor", "Text Editor", "/usr/share/applications/editor.desktop"};
}

std::vector<QStringList> commands(const QString& exec, const XdgExecContext& context)
{
    const auto line = XdgExecLine::parse(exec);
    if (!line)
        return {{"(refused)"}};
    const auto result = line->commands(context);
    if (const auto* error = std::get_if<QString>(&result))
        return {{"(invalid)", *error}};
    return std::get<std::vector<QStringList>>(result);
}

const QUrl fileA = QUrl::fromLocalFile("/tmp/a file.txt");
const QUrl fileB = QUrl::fromLocalFile("/tmp/b.txt");
const QUrl web("https://example.org/a?b=c d");

} // namespace

TEST(XdgExecLineTest, SplitsAtSpacesAndUndoesQuoting)
{
    const struct {
        const char* exec;
        QStringList arguments;
    } cases[] = {
        {"editor", {"editor"}},
        {"  editor   --new\t%U ", {"editor", "--new", "%U"}},
        {"\"/opt/My App/run\" -x", {"/opt/My App/run", "-x"}},
        {"sh -c \"echo \\\"hi\\\" \\$HOME \\`x\\` \\\\ \\n\"", {"sh", "-c", "echo \"hi\" $HOME `x` \\ \\n"}},
        {"run \"\" end", {"run", "", "end"}},
        {"run --name=\"a b\"c", {"run", "--name=a bc"}},
        {"run it's>fine", {"run", "it's>fine"}},
        {"", {"(refused)"}},
        {"   ", {"(refused)"}},
        {"\"\" -x", {"(refused)"}},
        {"run \"unterminated", {"(refused)"}},
    };
    for (const auto& test : cases)
        EXPECT_EQ(split(test.exec), test.arguments) << test.exec;
}

TEST(XdgExecLineTest, ExpandsFieldCodesIntoWholeArguments)
{
    const struct {
        const char* exec;
        QList<QUrl> documents;
        std::vector<QStringList> commands;
    } cases[] = {
        {"editor %F", {fileA, web, fileB}, {{"editor", "/tmp/a file.txt", "/tmp/b.txt"}}},
        {"editor %U", {fileA, web}, {{"editor", "/tmp/a file.txt", "https://example.org/a?b=c%20d"}}},
        {"editor %U", {}, {{"editor"}}},
        {"editor %f", {fileA}, {{"editor", "/tmp/a file.txt"}}},
        {"editor --file=%f", {}, {{"editor"}}},
        {"editor %f", {web}, {{"editor"}}},
        {"editor %f", {fileA, web, fileB}, {{"editor", "/tmp/a file.txt"}, {"editor", "/tmp/b.txt"}}},
        {"editor --open=%u",
         {web, fileB},
         {{"editor", "--open=https://example.org/a?b=c%20d"}, {"editor", "--open=/tmp/b.txt"}}},
        {"editor %i %c", {}, {{"editor", "--icon", "org.example.Editor", "Text Editor"}}},
        {"editor --title=%c --from=%k",
         {},
         {{"editor", "--title=Text Editor", "--from=/usr/share/applications/editor.desktop"}}},
        {"editor 100%% \"50%%\"", {}, {{"editor", "100%", "50%"}}},
        {"editor %d %D %n %N %v %m -x%d", {fileA}, {{"editor", "-x"}}},
    };
    for (const auto& test : cases)
        EXPECT_EQ(commands(test.exec, context(test.documents)), test.commands) << test.exec;
}

TEST(XdgExecLineTest, LeavesTheIconOutWhenThereIsNone)
{
    XdgExecContext noIcon = context();
    noIcon.icon.clear();
    EXPECT_EQ(commands("editor %i -x", noIcon), (std::vector<QStringList>{{"editor", "-x"}}));
}

TEST(XdgExecLineTest, RefusesUnknownFieldCodesAndListsInsideArguments)
{
    const struct {
        const char* exec;
        const char* reason;
    } cases[] = {
        {"editor %x", "the unknown field code %x in \"%x\""},
        {"editor 100%", "a lone '%' ends the argument \"100%\""},
        {"editor --files=%F", "%F inside the argument \"--files=%F\""},
        {"editor x%U", "%U inside the argument \"x%U\""},
        {"editor --icon=%i", "%i inside the argument \"--icon=%i\""},
        {"%f", "the command line names no program"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(commands(test.exec, context()), (std::vector<QStringList>{{"(invalid)", test.reason}})) << test.exec;
}
