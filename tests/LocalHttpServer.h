#pragma once

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

#include <deque>
#include <vector>

class QTcpSocket;

namespace vesk::test {

// A real HTTP/1.1 server on 127.0.0.1 (a free port) for network tests: it
// records every request and answers each with the next scripted response
// (200 with an empty JSON object when none is left). Runs on the thread's
// event loop; wait for requests with waitForRequests.
class LocalHttpServer final : public QObject {
    Q_OBJECT

public:
    struct Request {
        QByteArray method;
        QByteArray path;
        // Header names in lower case.
        QMap<QByteArray, QByteArray> headers;
        QByteArray body;
    };

    struct Response {
        enum class Kind { answer, hold, stream };
        int status = 200;
        QByteArray body = "{}";
        // hold: never answer, so that the client gives up. stream: a body of
        // `streamBytes` bytes written a little at a time as the client takes
        // them, then the connection closes.
        Kind kind = Kind::answer;
        qint64 streamBytes = 0;
        // stream: whether the header announces the length.
        bool announcesLength = false;
    };

    // A streamed answer of `bytes` bytes.
    static Response streamed(qint64 bytes, bool announcesLength, int status = 200)
    {
        return Response{status, {}, Response::Kind::stream, bytes, announcesLength};
    }

    LocalHttpServer();
    ~LocalHttpServer() override;

    // http://127.0.0.1:<port><path>
    QUrl url(const QString& path = QStringLiteral("/")) const;
    void enqueue(Response response) { responses_.push_back(std::move(response)); }
    void enqueueStatus(int status) { enqueue(Response{status}); }
    const std::vector<Request>& requests() const { return requests_; }
    // Runs the event loop until `count` requests have arrived, at most the timeout.
    bool waitForRequests(std::size_t count, int timeoutMs = 5000);
    // Streamed answers whose client closed the connection before the whole
    // body was written.
    int streamsCutOff() const { return streamsCutOff_; }

private:
    void readFrom(QTcpSocket* socket);
    void answer(QTcpSocket* socket);
    void stream(QTcpSocket* socket, const Response& response);

    QTcpServer server_;
    QMap<QTcpSocket*, QByteArray> buffers_;
    std::deque<Response> responses_;
    std::vector<Request> requests_;
    int streamsCutOff_ = 0;
};

} // namespace vesk::test
