#include "update/SignedRelease.h"
#include "update/UpdateSignatureVerifier.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vesk {
namespace {

struct ScriptRun {
    int exitCode = -1;
    QByteArray output;
};

ScriptRun signUpdate(const QStringList& arguments)
{
    QProcess script;
    script.start(QStringLiteral(VESK_SOURCE_DIR "/scripts/sign-update.sh"), arguments);
    if (!script.waitForFinished(30000))
        return {};
    return {script.exitStatus() == QProcess::NormalExit ? script.exitCode() : -1, script.readAllStandardOutput()};
}

TEST(SignUpdateScriptTest, WritesAFeedEntryWhoseSignatureTheUpdaterAccepts)
{
    if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
        GTEST_SKIP() << "openssl is not installed";
    QTemporaryDir folder;
    const QString keyPath = folder.filePath("key.pem");
    const ScriptRun newKey = signUpdate({"--new-key", keyPath});
    ASSERT_EQ(newKey.exitCode, 0);
    const QByteArray publicKey = QByteArray::fromBase64(newKey.output.trimmed());
    ASSERT_EQ(publicKey.size(), UpdateSignatureVerifier::publicKeyBytes);
    QFile key(keyPath);
    EXPECT_EQ(key.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions())
        << "the private key is the user's alone";
    EXPECT_NE(signUpdate({"--new-key", keyPath}).exitCode, 0) << "an existing key is never overwritten";

    const QString archivePath = folder.filePath("Vesk-1.3.0.tar.gz");
    QFile archive(archivePath);
    ASSERT_TRUE(archive.open(QIODevice::WriteOnly));
    const QByteArray bytes(70'000, 'q');
    archive.write(bytes);
    archive.close();
    const ScriptRun signing =
        signUpdate({keyPath, archivePath, "1.3.0", "https://updates.vesk.app/Vesk-1.3.0.tar.gz", "1.3"});
    ASSERT_EQ(signing.exitCode, 0);
    const QJsonObject entry = QJsonDocument::fromJson(signing.output).object();
    EXPECT_EQ(entry.value("version").toString(), QStringLiteral("1.3.0"));
    EXPECT_EQ(entry.value("displayVersion").toString(), QStringLiteral("1.3"));
    EXPECT_EQ(entry.value("length").toInteger(), bytes.size());
    EXPECT_EQ(entry.value("url").toString(), QStringLiteral("https://updates.vesk.app/Vesk-1.3.0.tar.gz"));
    EXPECT_EQ(entry.value("sha256").toString().toLatin1(),
              QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    const QByteArray signature = QByteArray::fromBase64(entry.value("signature").toString().toLatin1());
    EXPECT_TRUE(UpdateSignatureVerifier(publicKey).verifiesFile(archivePath, signature));
    EXPECT_FALSE(UpdateSignatureVerifier(test::SigningKey().publicKey()).verifiesFile(archivePath, signature));

    EXPECT_NE(signUpdate({keyPath, archivePath, "1.3.0", "http://updates.vesk.app/Vesk-1.3.0.tar.gz"}).exitCode, 0)
        << "an archive address that is not https";
}

} // namespace
} // namespace vesk
