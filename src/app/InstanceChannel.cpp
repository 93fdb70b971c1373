#include "app/InstanceChannel.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace vesk {

namespace {

// One request and its answers, one line each.
constexpr char requestLine[] = "main-window";
constexpr int longestLine = 32;

QByteArray answerLine(InstanceChannel::Answer answer)
{
    switch (answer) {
    case InstanceChannel::Answer::shown:
        return "shown";
    case InstanceChannel::Answer::inSession:
        return "in-session";
    case InstanceChannel::Answer::ending:
        return "ending";
    case InstanceChannel::Answer::none:
        break;
    }
    return "none";
}

InstanceChannel::Answer answerFromLine(const QByteArray& line)
{
    for (const InstanceChannel::Answer answer :
         {InstanceChannel::Answer::shown, InstanceChannel::Answer::inSession, InstanceChannel::Answer::ending}) {
        if (line == answerLine(answer))
            return answer;
    }
    return InstanceChannel::Answer::none;
}

// Reads one line of at most `longestLine` bytes, waiting until `deadline`;
// empty when none comes.
QByteArray readLine(QLocalSocket& socket, const QDeadlineTimer& deadline)
{
    while (!socket.canReadLine()) {
        if (socket.bytesAvailable() > longestLine
            || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return {};
    }
    return socket.readLine(longestLine + 1).trimmed();
}

} // namespace

QString InstanceChannel::socketPath(const QString& dataFolder)
{
    const QFileInfo folder(dataFolder);
    const QString canonical = folder.canonicalFilePath();
    const QString name = QDir::cleanPath(canonical.isEmpty() ? folder.absoluteFilePath() : canonical);
    const QByteArray digest = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    return QDir(runtime).filePath(QStringLiteral("vesk-%1.socket").arg(QString::fromLatin1(digest)));
}

InstanceChannel::Answer InstanceChannel::askForMainWindow(const QString& dataFolder, int timeoutMilliseconds)
{
    const QDeadlineTimer deadline(timeoutMilliseconds);
    QLocalSocket socket;
    socket.connectToServer(socketPath(dataFolder));
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
        return Answer::none;
    socket.write(QByteArray(requestLine) + '\n');
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
        return Answer::none;
    return answerFromLine(readLine(socket, deadline));
}

InstanceChannel::InstanceChannel(const QString& dataFolder, std::function<Answer()> bringMainWindow, QObject* parent)
    : QObject(parent)
    , path_(socketPath(dataFolder))
    , bringMainWindow_(std::move(bringMainWindow))
    , server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceChannel::accept);
}

InstanceChannel::~InstanceChannel()
{
    server_->close();
}

bool InstanceChannel::listen(QString* error)
{
    // The folder's lock is ours: a socket at the path is a dead holder's.
    QLocalServer::removeServer(path_);
    if (server_->listen(path_))
        return true;
    *error = QStringLiteral("Cannot listen on %1 for later starts: %2").arg(path_, server_->errorString());
    return false;
}

void InstanceChannel::accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(*socket); });
        if (socket->bytesAvailable() > 0)
            answer(*socket);
    }
}

// Anything but the one request, or a line too long, ends the connection
// unanswered.
void InstanceChannel::answer(QLocalSocket& socket)
{
    if (!socket.canReadLine()) {
        if (socket.bytesAvailable() > longestLine)
            socket.abort();
        return;
    }
    const QByteArray line = socket.readLine(longestLine + 1);
    if (line.trimmed() != requestLine) {
        socket.abort();
        return;
    }
    socket.write(answerLine(bringMainWindow_()) + '\n');
    socket.flush();
    socket.disconnectFromServer();
}

} // namespace vesk
