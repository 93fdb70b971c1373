#include "X11TestServer.h"

#include <QStandardPaths>

namespace {

constexpr int startTimeoutMs = 10000;

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
    }
}

} // namespace

X11TestServer::~X11TestServer()
{
    for (auto& client : clients_)
        stop(*client);
    stop(openbox_);
    stop(xvfb_);
}

QString X11TestServer::missingTools()
{
    QStringList missing;
    for (const char* tool : {"Xvfb", "openbox"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing << QString::fromLatin1(tool);
    }
    return missing.join(QStringLiteral(", "));
}

QProcessEnvironment X11TestServer::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    // openbox reads the system's configuration, never the user's.
    environment.insert(QStringLiteral("HOME"), home_.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.path() + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home_.path() + QStringLiteral("/cache"));
    return environment;
}

bool X11TestServer::start(int width, int height, bool withWindowManager)
{
    // The server picks a free display number and writes it to standard output.
    xvfb_.setProgram(QStringLiteral("Xvfb"));
    xvfb_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                        QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height),
                        QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-br")});
    // Nothing reads its messages while a test waits elsewhere: a full pipe would stop the server.
    xvfb_.setStandardErrorFile(QProcess::nullDevice());
    xvfb_.start();
    if (!xvfb_.waitForStarted(startTimeoutMs)) {
        error_ = QStringLiteral("Xvfb did not start");
        return false;
    }
    while (!xvfb_.canReadLine()) {
        if (!xvfb_.waitForReadyRead(startTimeoutMs)) {
            error_ = QStringLiteral("Xvfb named no display");
            return false;
        }
    }
    display_ = QStringLiteral(":") + QString::fromLatin1(xvfb_.readLine()).trimmed();
    if (!withWindowManager)
        return true;

    openbox_.setProcessEnvironment(environment());
    openbox_.setProgram(QStringLiteral("openbox"));
    openbox_.setArguments({QStringLiteral("--sm-disable")});
    openbox_.setStandardOutputFile(QProcess::nullDevice());
    openbox_.setStandardErrorFile(QProcess::nullDevice());
    openbox_.start();
    if (!openbox_.waitForStarted(startTimeoutMs)) {
        error_ = QStringLiteral("openbox did not start");
        return false;
    }
    return true;
}

void X11TestServer::killWindowManager()
{
    openbox_.kill();
    openbox_.waitForFinished(startTimeoutMs);
}

std::vector<quint32> X11TestServer::startClient(const QStringList& arguments, int windowCount)
{
    auto client = std::make_unique<QProcess>();
    client->setProcessEnvironment(environment());
    client->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    client->start(QStringLiteral(VESK_X11_TEST_CLIENT), arguments);
    std::vector<quint32> windows;
    if (!client->waitForStarted(startTimeoutMs))
        return windows;
    while (int(windows.size()) < windowCount) {
        if (!client->canReadLine() && !client->waitForReadyRead(startTimeoutMs))
            break;
        while (client->canReadLine())
            windows.push_back(client->readLine().trimmed().toUInt());
    }
    clients_.push_back(std::move(client));
    return windows;
}

bool X11TestServer::runTool(const QString& program, const QStringList& arguments) const
{
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.start(program, arguments);
    return tool.waitForFinished(startTimeoutMs) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}
