#include "X11TestServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

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

xcb_atom_t internAtom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

bool isClient(xcb_connection_t* c, xcb_window_t root, xcb_atom_t clientList, xcb_window_t window)
{
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, clientList, XCB_ATOM_WINDOW, 0, 4096), nullptr);
    bool found = false;
    if (reply && reply->format == 32) {
        const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        found = std::find(ids, ids + count, window) != ids + count;
    }
    std::free(reply);
    return found;
}

// openbox names itself on the root window before it takes the first map
// requests, and one that comes in between is lost. A probe window is mapped
// (again after each quiet 100 ms) until openbox lists it as a client.
bool waitUntilWindowsAreManaged(const QString& display)
{
    xcb_connection_t* c = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t clientList = internAtom(c, "_NET_CLIENT_LIST");
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_window_t probe = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, root, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    QDeadlineTimer deadline(startTimeoutMs);
    bool managed = false;
    while (!managed && !deadline.hasExpired()) {
        xcb_map_window(c, probe);
        xcb_flush(c);
        pollfd socket{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&socket, 1, 100);
        while (xcb_generic_event_t* event = xcb_poll_for_event(c))
            std::free(event);
        managed = isClient(c, root, clientList, probe);
    }
    xcb_destroy_window(c, probe);
    xcb_flush(c);
    xcb_disconnect(c);
    return managed;
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
    if (!openbox_.waitForStarted(startTimeoutMs) || !waitUntilWindowsAreManaged(display_)) {
        error_ = QStringLiteral("openbox did not start managing windows");
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

bool X11TestServer::setWindowManagerConfig(const QString& rcXml)
{
    const QString folder = home_.path() + QStringLiteral("/config/openbox");
    QFile file(folder + QStringLiteral("/rc.xml"));
    return QDir().mkpath(folder) && file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(rcXml.toUtf8()) == rcXml.toUtf8().size();
}

bool X11TestServer::reconfigureWindowManager() const
{
    return runTool(QStringLiteral("openbox"), {QStringLiteral("--reconfigure")});
}
