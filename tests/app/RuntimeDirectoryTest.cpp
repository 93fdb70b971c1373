#include "app/RuntimeDirectory.h"

#include "LogCapture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace vesk;

namespace {

// The process's environment as a login without a runtime folder has it,
// with the temporary folder in a fresh place; both variables come back after.
class RuntimeDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temporary_.isValid());
        savedRuntime_ = qgetenv("XDG_RUNTIME_DIR");
        savedTemporary_ = qgetenv("TMPDIR");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(temporary_.path()));
    }

    void TearDown() override
    {
        restore("XDG_RUNTIME_DIR", savedRuntime_);
        restore("TMPDIR", savedTemporary_);
    }

    static void restore(const char* variable, const QByteArray& value)
    {
        if (value.isNull())
            qunsetenv(variable);
        else
            qputenv(variable, value);
    }

    QString fallback() const { return QDir(temporary_.path()).filePath(QStringLiteral("runtime-%1").arg(::getuid())); }

    QTemporaryDir temporary_;
    QByteArray savedRuntime_;
    QByteArray savedTemporary_;
};

TEST_F(RuntimeDirectoryTest, ALoginWithoutOneGetsAPrivateFolderAndQtFindsItWithoutAWarning)
{
    test::LogCapture log;
    EXPECT_EQ(provideRuntimeDirectory(), std::nullopt);
    EXPECT_EQ(qEnvironmentVariable("XDG_RUNTIME_DIR"), fallback());
    EXPECT_EQ(QFile::permissions(fallback()), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser
                                                  | QFile::WriteUser | QFile::ExeUser);
    EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), fallback());
    EXPECT_FALSE(log.contains("XDG_RUNTIME_DIR")) << "a login without a runtime folder is nothing to warn about";

    // A second start finds the folder it made.
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(provideRuntimeDirectory(), std::nullopt);
    EXPECT_EQ(qEnvironmentVariable("XDG_RUNTIME_DIR"), fallback());
}

TEST_F(RuntimeDirectoryTest, TheLoginsOwnFolderStays)
{
    qputenv("XDG_RUNTIME_DIR", "/run/user/4242");
    EXPECT_EQ(provideRuntimeDirectory(), std::nullopt);
    EXPECT_EQ(qEnvironmentVariable("XDG_RUNTIME_DIR"), "/run/user/4242");
    EXPECT_FALSE(QFileInfo::exists(fallback()));
}

TEST_F(RuntimeDirectoryTest, AFolderOfThatNameOthersCanReachIsNotTaken)
{
    ASSERT_TRUE(QDir().mkdir(fallback()));
    ASSERT_TRUE(QFile::setPermissions(fallback(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                      | QFile::ReadOther | QFile::ExeOther));
    EXPECT_EQ(provideRuntimeDirectory(), fallback() + " is not private to this user");
    EXPECT_TRUE(qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"));
}

} // namespace
