#include "platform/x11/X11Connection.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>

#include <cstdlib>
#include <vector>

namespace vesk::platform {

// Qt reads the events of its own connection; every one passes here first.
class X11Connection::NativeEventFilter final : public QAbstractNativeEventFilter {
public:
    explicit NativeEventFilter(X11Connection& connection) : connection_(connection) { }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType == "xcb_generic_event_t" && message) {
            connection_.handle(*static_cast<const xcb_generic_event_t*>(message));
            connection_.finishBatchLater();
        }
        return false;
    }

private:
    X11Connection& connection_;
};

namespace {

constexpr int maximumEventsPerTurn = 1000;

int defaultScreenNumber()
{
    int screen = 0;
    char* host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0)
        screen = 0;
    std::free(host);
    return screen;
}

} // namespace

std::unique_ptr<X11Connection> X11Connection::forApplication()
{
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (auto* x11 = application ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (xcb_connection_t* shared = x11->connection())
            return std::unique_ptr<X11Connection>(new X11Connection(shared, defaultScreenNumber(), false));
    }
    return open();
}

std::unique_ptr<X11Connection> X11Connection::open(const QString& displayName)
{
    int screen = 0;
    const QByteArray name = displayName.toLocal8Bit();
    xcb_connection_t* connection = xcb_connect(name.isEmpty() ? nullptr : name.constData(), &screen);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<X11Connection>(new X11Connection(connection, screen, true));
}

X11Connection::X11Connection(xcb_connection_t* connection, int screenNumber, bool ownsConnection)
    : connection_(connection)
    , screenNumber_(screenNumber)
    , ownsConnection_(ownsConnection)
{
    xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(connection_, &ewmh_);
    atoms_ = X11Atoms::intern(connection_);
    xcb_ewmh_init_atoms_replies(&ewmh_, cookies, nullptr);
    if (ownsConnection_) {
        watchOwnSocket();
    } else {
        filter_ = std::make_unique<NativeEventFilter>(*this);
        QCoreApplication::instance()->installNativeEventFilter(filter_.get());
    }
}

X11Connection::~X11Connection()
{
    QObject::disconnect(aboutToBlock_);
    QObject::disconnect(awake_);
    if (filter_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(filter_.get());
    notifier_.reset();
    xcb_ewmh_connection_wipe(&ewmh_);
    if (ownsConnection_)
        xcb_disconnect(connection_);
}

void X11Connection::watchOwnSocket()
{
    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &X11Connection::dispatchEvents);
    // A request that waits for its reply reads the events that came before it
    // into xcb's queue, where the socket no longer shows them: they are handed
    // out on every turn of the event loop, also one that never sleeps.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread())) {
        auto handOutQueued = [this] {
            if (!hasError())
                finishBatch();
        };
        aboutToBlock_ = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, handOutQueued);
        awake_ = connect(dispatcher, &QAbstractEventDispatcher::awake, this, handOutQueued);
    }
}

xcb_window_t X11Connection::root() const
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; it.rem > 0 && i < screenNumber_; ++i)
        xcb_screen_next(&it);
    return it.rem > 0 ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

bool X11Connection::hasError() const
{
    return xcb_connection_has_error(connection_) != 0;
}

int X11Connection::addEventHandler(EventHandler handler)
{
    const int id = nextHandlerID_++;
    handlers_.emplace(id, std::move(handler));
    return id;
}

void X11Connection::removeEventHandler(int id)
{
    handlers_.erase(id);
}

void X11Connection::handle(const xcb_generic_event_t& event)
{
    batchPending_ = true;
    std::vector<int> ids;
    for (const auto& [id, handler] : handlers_)
        ids.push_back(id);
    for (int id : ids) {
        const auto it = handlers_.find(id);
        if (it != handlers_.end())
            it->second(event);
    }
}

void X11Connection::dispatchEvents()
{
    if (ownsConnection_) {
        // A client that changes its windows without pause must not keep the
        // event loop here: the rest waits for the next turn.
        for (int taken = 0; taken < maximumEventsPerTurn; ++taken) {
            xcb_generic_event_t* event = xcb_poll_for_event(connection_);
            if (!event)
                break;
            handle(*event);
            std::free(event);
        }
        if (hasError())
            notifier_->setEnabled(false);
    }
    finishBatch();
}

bool X11Connection::takeQueuedEvents()
{
    if (!ownsConnection_)
        return false; // Qt reads its own connection
    int taken = 0;
    for (; taken < maximumEventsPerTurn; ++taken) {
        xcb_generic_event_t* event = xcb_poll_for_queued_event(connection_);
        if (!event)
            break;
        handle(*event);
        std::free(event);
    }
    return taken > 0;
}

void X11Connection::finishBatchLater()
{
    if (batchScheduled_)
        return;
    batchScheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            batchScheduled_ = false;
            finishBatch();
        },
        Qt::QueuedConnection);
}

void X11Connection::finishBatch()
{
    takeQueuedEvents();
    if (!batchPending_)
        return;
    batchPending_ = false;
    emit eventsDispatched();
    // Whoever heard of the batch may have waited for replies, which queues
    // the events that came meanwhile: they are the next batch, one turn of
    // the event loop later (which does not sleep while it is pending).
    if (takeQueuedEvents() || batchPending_)
        finishBatchLater();
}

void X11Connection::flush()
{
    xcb_flush(connection_);
}

unsigned int X11Connection::markRequestSequence()
{
    return xcb_no_operation(connection_).sequence;
}

} // namespace vesk::platform
