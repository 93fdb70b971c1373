#include "LocalHttpServer.h"

#include <QTcpSocket>
#include <QTest>

#include <algorithm>
#include <memory>

namespace vesk::test {

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 202:
        return "Accepted";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 413:
        return "Payload Too Large";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

} // namespace

LocalHttpServer::LocalHttpServer()
{
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                buffers_.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

LocalHttpServer::~LocalHttpServer()
{
    // Connections still open close with the server: their handlers must not
    // reach the members, which go first.
    for (QTcpSocket* socket : server_.findChildren<QTcpSocket*>())
        socket->disconnect(this);
}

QUrl LocalHttpServer::url(const QString& path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
}

bool LocalHttpServer::waitForRequests(std::size_t count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return requests_.size() >= count; }, timeoutMs);
}

void LocalHttpServer::readFrom(QTcpSocket* socket)
{
    QByteArray& buffer = buffers_[socket];
    buffer += socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    Request request;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    if (buffer.size() < headerEnd + 4 + length)
        return;
    request.body = buffer.mid(headerEnd + 4, length);
    buffer.remove(0, headerEnd + 4 + length);
    requests_.push_back(std::move(request));
    answer(socket);
}

void LocalHttpServer::answer(QTcpSocket* socket)
{
    Response response;
    if (!responses_.empty()) {
        response = responses_.front();
        responses_.pop_front();
    }
    if (response.kind == Response::Kind::hold)
        return;
    if (response.kind == Response::Kind::stream)
        return stream(socket, response);
    socket->write("HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status)
                  + "\r\nContent-Type: application/json\r\nContent-Length: " + QByteArray::number(response.body.size())
                  + "\r\nConnection: close\r\n\r\n" + response.body);
    socket->disconnectFromHost();
}

// Only a few chunks are ever waiting in the socket, so the server's memory
// stays small however long the answer is.
void LocalHttpServer::stream(QTcpSocket* socket, const Response& response)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status)
                      + "\r\nContent-Type: application/json\r\n";
    if (response.announcesLength)
        head += "Content-Length: " + QByteArray::number(response.streamBytes) + "\r\n";
    socket->write(head + "Connection: close\r\n\r\n");
    static constexpr qint64 chunkSize = 16 * 1024;
    auto remaining = std::make_shared<qint64>(response.streamBytes);
    auto writeMore = [socket, remaining, chunk = QByteArray(chunkSize, ' ')] {
        while (*remaining > 0 && socket->bytesToWrite() < 4 * chunkSize) {
            const qint64 size = std::min(*remaining, chunkSize);
            socket->write(chunk.constData(), size);
            *remaining -= size;
        }
        if (*remaining == 0)
            socket->disconnectFromHost();
    };
    connect(socket, &QTcpSocket::bytesWritten, this, writeMore);
    connect(socket, &QTcpSocket::disconnected, this, [this, remaining] {
        if (*remaining > 0)
            ++streamsCutOff_;
    });
    writeMore();
}

} // namespace vesk::test
