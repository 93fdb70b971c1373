#include "XvfbServer.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QtAlgorithms>
#include <QtEndian>

namespace {

QProcessEnvironment toolEnvironment(const QString& display)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    return environment;
}

// An image in the X window dump format of xwd: a header of big-endian 32-bit
// fields, the window's name, the colour map, then the pixels row by row in
// the server's byte order (true colour: the masks pick red, green and blue).
QImage decodeWindowDump(const QByteArray& dump)
{
    constexpr int fieldCount = 25;
    if (dump.size() < fieldCount * 4)
        return QImage();
    quint32 field[fieldCount];
    for (int i = 0; i < fieldCount; ++i)
        field[i] = qFromBigEndian<quint32>(dump.constData() + i * 4);
    const quint32 headerSize = field[0], width = field[4], height = field[5], byteOrder = field[7];
    const quint32 bitsPerPixel = field[11], bytesPerLine = field[12], colourCount = field[19];
    const quint32 redMask = field[14], greenMask = field[15], blueMask = field[16];
    const quint32 bytesPerPixel = bitsPerPixel / 8;
    const qint64 pixels = qint64(headerSize) + qint64(colourCount) * 12;
    if (bytesPerPixel < 3 || bytesPerPixel > 4 || pixels + qint64(bytesPerLine) * height > dump.size())
        return QImage();
    auto channel = [](quint32 value, quint32 mask) {
        const int shift = mask ? qCountTrailingZeroBits(mask) : 0;
        return int((value & mask) >> shift);
    };
    QImage image(int(width), int(height), QImage::Format_RGB32);
    for (quint32 y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uchar*>(dump.constData() + pixels + qint64(y) * bytesPerLine);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (quint32 x = 0; x < width; ++x) {
            const uchar* p = row + x * bytesPerPixel;
            quint32 value = 0;
            for (quint32 b = 0; b < bytesPerPixel; ++b)
                value |= quint32(p[b]) << (8 * (byteOrder == 0 ? b : bytesPerPixel - 1 - b));
            out[x] = qRgb(channel(value, redMask), channel(value, greenMask), channel(value, blueMask));
        }
    }
    return image;
}

} // namespace

XvfbServer::~XvfbServer()
{
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(5000)) {
            server_.kill();
            server_.waitForFinished();
        }
    }
}

QString XvfbServer::missingTools()
{
    QStringList missing;
    for (const char* tool : {"Xvfb", "xdotool", "xwd"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing << QString::fromLatin1(tool);
    }
    return missing.join(QStringLiteral(", "));
}

bool XvfbServer::start(int width, int height)
{
    // The server picks a free display number and writes it to standard output.
    server_.setProgram(QStringLiteral("Xvfb"));
    server_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                          QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height),
                          QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    server_.start();
    if (!server_.waitForStarted(10000))
        return false;
    while (!server_.canReadLine()) {
        if (!server_.waitForReadyRead(20000))
            return false;
    }
    display_ = QStringLiteral(":") + QString::fromLatin1(server_.readLine()).trimmed();
    return display_.size() > 1;
}

bool XvfbServer::xdotool(const QStringList& arguments, QString* output) const
{
    QProcess tool;
    tool.setProcessEnvironment(toolEnvironment(display_));
    tool.start(QStringLiteral("xdotool"), arguments);
    const bool succeeded =
        tool.waitForFinished(10000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    if (output)
        *output = QString::fromUtf8(tool.readAllStandardOutput());
    return succeeded;
}

QStringList XvfbServer::windowStack() const
{
    QProcess xwininfo;
    xwininfo.setProcessEnvironment(toolEnvironment(display_));
    xwininfo.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-children")});
    if (!xwininfo.waitForFinished(10000) || xwininfo.exitCode() != 0)
        return {};
    // Lines such as `     0x200009 "VESK": ("vesk" "Vesk")  360x440+460+192  +460+192`.
    static const QRegularExpression child(QStringLiteral("^\\s+0x[0-9a-f]+ \"([^\"]*)\""));
    QStringList names;
    for (const QString& line : QString::fromUtf8(xwininfo.readAllStandardOutput()).split('\n')) {
        if (const QRegularExpressionMatch match = child.match(line); match.hasMatch())
            names << match.captured(1);
    }
    return names;
}

QImage XvfbServer::screenshot() const
{
    QProcess xwd;
    xwd.setProcessEnvironment(toolEnvironment(display_));
    xwd.start(QStringLiteral("xwd"), {QStringLiteral("-root"), QStringLiteral("-silent")});
    if (!xwd.waitForFinished(10000) || xwd.exitCode() != 0)
        return QImage();
    return decodeWindowDump(xwd.readAllStandardOutput());
}
