#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// An X server of its own for one test: Xvfb on a display number it picks
// itself (so parallel runs never collide) with openbox managing it, and the
// test client's processes the test starts on it. Everything ends with it.
class X11TestServer {
public:
    X11TestServer() = default;
    ~X11TestServer();
    X11TestServer(const X11TestServer&) = delete;
    X11TestServer& operator=(const X11TestServer&) = delete;

    // What is missing to run the server, empty when nothing is.
    static QString missingTools();

    // Starts Xvfb with one screen of that size, then (unless told not to)
    // openbox; false (with the reason in `error()`) when either does not start.
    bool start(int width, int height, bool withWindowManager = true);
    // Ends openbox, as a window manager that crashes goes.
    void killWindowManager();
    const QString& display() const { return display_; }
    const QString& error() const { return error_; }

    // Starts the test client with the arguments and waits (bounded) until
    // it has mapped its windows; their ids, none when it fails.
    std::vector<quint32> startClient(const QStringList& arguments, int windowCount = 1);
    // Runs a tool of the X server (xdotool) against it.
    bool runTool(const QString& program, const QStringList& arguments) const;
    // openbox's configuration (rc.xml) from the next start or reconfiguration
    // on; the system's until one is given.
    bool setWindowManagerConfig(const QString& rcXml);
    // openbox reads its configuration again (it has, once it acts on it).
    bool reconfigureWindowManager() const;

private:
    QProcessEnvironment environment() const;

    QProcess xvfb_;
    QProcess openbox_;
    QTemporaryDir home_;
    std::vector<std::unique_ptr<QProcess>> clients_;
    QString display_;
    QString error_;
};
