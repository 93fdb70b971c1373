#include "enforcement/ProcessDockCommandRunner.h"

#include <gtest/gtest.h>

using namespace vesk;

namespace {

DockCommandResult shell(const QString& script, const QStringList& arguments = {})
{
    return ProcessDockCommandRunner().run("/bin/sh", QStringList{"-c", script, "sh"} + arguments);
}

TEST(ProcessDockCommandRunnerTest, ReturnsTheExitStatusAndBothOutputs)
{
    EXPECT_EQ(shell("printf 'out\\n'; printf 'err\\n' >&2; exit 3"), (DockCommandResult{3, "out\n", "err\n"}));
    EXPECT_EQ(shell("true"), (DockCommandResult{0, "", ""}));
}

TEST(ProcessDockCommandRunnerTest, ArgumentsReachTheToolOneByOneWithoutAShell)
{
    const DockCommandResult result =
        ProcessDockCommandRunner().run("/usr/bin/printf", {"%s|", "two words", "$HOME", "a;b", ""});
    EXPECT_EQ(result, (DockCommandResult{0, "two words|$HOME|a;b||", ""}));
}

TEST(ProcessDockCommandRunnerTest, ATalkativeToolDoesNotBlockOnFullPipes)
{
    // Far more than a pipe holds, on both outputs at once.
    const DockCommandResult result =
        shell("head -c 2000000 /dev/zero | tr '\\0' a; head -c 2000000 /dev/zero | tr '\\0' b >&2");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.standardOutput.size(), 2000000);
    EXPECT_EQ(result.standardError.size(), 2000000);
}

TEST(ProcessDockCommandRunnerTest, AToolThatCannotStartFailsWithTheReason)
{
    const DockCommandResult result = ProcessDockCommandRunner().run("/nonexistent/defaults", {"read"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_TRUE(result.standardOutput.isEmpty());
    EXPECT_FALSE(result.standardError.isEmpty());
}

TEST(ProcessDockCommandRunnerTest, OutputThatIsNotUtf8ReadsAsEmpty)
{
    EXPECT_EQ(shell("printf '\\377\\376'; printf 'fine' >&2"), (DockCommandResult{0, "", "fine"}));
    EXPECT_EQ(shell("printf 'gr\\303\\274n'"), (DockCommandResult{0, QString::fromUtf8("grün"), ""}));
}

TEST(ProcessDockCommandRunnerTest, AToolEndedByASignalHasFailed)
{
    EXPECT_NE(shell("kill -9 $$").exitStatus, 0);
}

} // namespace
