#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

namespace vesk {

// The way a later start reaches the instance that holds a data folder: a
// local socket for this user only, in the user's runtime folder and named
// after the data folder. A start that finds the folder locked asks over it
// for the main window (shown again when it was closed, and brought to the
// front) and ends instead of only refusing.
class InstanceChannel final : public QObject {
    Q_OBJECT

public:
    // What the running instance made of the request.
    enum class Answer {
        // Its main window is on screen and in front.
        shown,
        // A session is running: its main window comes back when the session ends.
        inSession,
        // It is terminating (a relaunch): the new start waits for its lock.
        ending,
        // Nobody listens or answers in time.
        none,
    };
    static constexpr int answerTimeoutMilliseconds = 3000;

    // The socket's path for `dataFolder`; the same for every spelling of the folder.
    static QString socketPath(const QString& dataFolder);
    // Asks the instance that holds `dataFolder` for its main window, waiting
    // at most `timeoutMilliseconds` for it to connect and to answer.
    static Answer askForMainWindow(const QString& dataFolder, int timeoutMilliseconds = answerTimeoutMilliseconds);

    // `bringMainWindow` is called for each request and says what it did.
    InstanceChannel(const QString& dataFolder, std::function<Answer()> bringMainWindow, QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Starts listening; a socket left behind by an instance that no longer
    // runs is replaced. Only the holder of the folder's lock listens. False
    // with the reason in `error` when the socket cannot be made.
    bool listen(QString* error);
    QString path() const { return path_; }

private:
    void accept();
    void answer(QLocalSocket& socket);

    QString path_;
    std::function<Answer()> bringMainWindow_;
    QLocalServer* server_;
};

} // namespace vesk
