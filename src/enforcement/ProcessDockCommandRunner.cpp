#include "enforcement/ProcessDockCommandRunner.h"

#include <QProcess>
#include <QStringDecoder>

namespace vesk {

namespace {

// The bytes as UTF-8 text; empty when they are not UTF-8.
QString utf8OrEmpty(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    return decoder.hasError() ? QString() : text;
}

} // namespace

DockCommandResult ProcessDockCommandRunner::run(const QString& executablePath, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(executablePath);
    process.setArguments(arguments);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start();
    if (!process.waitForStarted(-1))
        return DockCommandResult{1, QString(), process.errorString()};
    // QProcess reads both pipes while it waits, so a talkative tool never blocks.
    process.waitForFinished(-1);
    // A tool ended by a signal has no exit code of its own: it failed.
    const int status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : 1;
    return DockCommandResult{status, utf8OrEmpty(process.readAllStandardOutput()),
                             utf8OrEmpty(process.readAllStandardError())};
}

} // namespace vesk
