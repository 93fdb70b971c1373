#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

// A virtual X server (Xvfb) for one test, with the X tools the test drives it
// with: xdotool for the mouse and the keyboard (through the XTest extension,
// as real input), xwd for a screenshot of the root window.
class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // What is missing to run the server and its tools, empty when nothing is.
    static QString missingTools();

    // Starts a server with one screen of that size on a free display number.
    bool start(int width, int height);
    // Drives a server that is already running (":N") without owning it.
    void useRunningServer(const QString& display) { display_ = display; }
    // ":N".
    const QString& display() const { return display_; }

    // Runs xdotool with the arguments ("mousemove 10 20 click 1"), keeping
    // what it prints in `output` when given.
    bool xdotool(const QStringList& arguments, QString* output = nullptr) const;
    // The names of the root window's children, topmost first (xwininfo).
    QStringList windowStack() const;
    // The root window as it is on the screen; null when xwd fails.
    QImage screenshot() const;

private:
    QProcess server_;
    QString display_;
};
