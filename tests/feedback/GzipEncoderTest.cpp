#include "feedback/GzipEncoder.h"
#include "Gunzip.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

namespace vesk {
namespace {

using test::gunzip;

TEST(GzipEncoderTest, EmptyInputGivesNoStream)
{
    EXPECT_EQ(gzipCompress({}), std::nullopt);
}

TEST(GzipEncoderTest, FramesAbcWithHeaderCrcAndLength)
{
    const QByteArray stream = gzipCompress("abc").value();
    EXPECT_EQ(stream.left(10).toHex(' '), "1f 8b 08 00 00 00 00 00 00 ff");
    EXPECT_EQ(stream.right(8).toHex(' '), "c2 41 24 35 03 00 00 00");
}

TEST(GzipEncoderTest, Crc32MatchesZlibsOwn)
{
    EXPECT_EQ(crc32(QByteArray(1, '\0')), 0xD202EF8Du);
    const QByteArray text = "The quick brown fox jumps over the lazy dog";
    EXPECT_EQ(crc32(text),
              ::crc32(0, reinterpret_cast<const Bytef*>(text.constData()), static_cast<uInt>(text.size())));
}

TEST(GzipEncoderTest, StreamsDecompressWithZlibAndGzip)
{
    QByteArray random(200000, Qt::Uninitialized);
    QRandomGenerator generator(7);
    for (char& byte : random)
        byte = static_cast<char>(generator.bounded(256));
    const QByteArray markdown = QByteArray("| Zeit | Stufe | Nachricht |\n").repeated(5000);

    QTemporaryDir folder;
    for (const QByteArray& input : {QByteArray("x"), markdown, random}) {
        const QByteArray stream = gzipCompress(input).value();
        EXPECT_EQ(gunzip(stream), input);

        QProcess gzip;
        gzip.start(QStringLiteral("gzip"), {QStringLiteral("-dc")});
        ASSERT_TRUE(gzip.waitForStarted());
        gzip.write(stream);
        gzip.closeWriteChannel();
        ASSERT_TRUE(gzip.waitForFinished());
        EXPECT_EQ(gzip.exitCode(), 0);
        EXPECT_EQ(gzip.readAllStandardOutput(), input);
    }
}

} // namespace
} // namespace vesk
