#pragma once

#include "platform/x11/X11Atoms.h"

#include <QObject>
#include <QString>

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <functional>
#include <map>
#include <memory>

class QAbstractNativeEventFilter;
class QSocketNotifier;

namespace vesk::platform {

// One connection to the X server with the atoms interned once. When the
// application runs on Qt's xcb platform it shares Qt's connection and sees
// its events through a native event filter; otherwise (tests, the offscreen
// platform) it opens its own connection and reads the socket from the event
// loop. Either way, events reach the handlers on the main thread, and after
// each batch `eventsDispatched` tells that the batch is over.
class X11Connection final : public QObject {
    Q_OBJECT
public:
    using EventHandler = std::function<void(const xcb_generic_event_t& event)>;

    // Qt's connection under the xcb platform, else an own one to $DISPLAY;
    // none when there is no X server.
    static std::unique_ptr<X11Connection> forApplication();
    // An own connection to a display (":3"; empty: $DISPLAY); none when it fails.
    static std::unique_ptr<X11Connection> open(const QString& displayName = {});
    ~X11Connection() override;

    xcb_connection_t* xcb() const { return connection_; }
    xcb_ewmh_connection_t* ewmh() { return &ewmh_; }
    const X11Atoms& atoms() const { return atoms_; }
    int screenNumber() const { return screenNumber_; }
    xcb_window_t root() const;
    bool sharesQtConnection() const { return filter_ != nullptr; }
    bool hasError() const;

    int addEventHandler(EventHandler handler);
    void removeEventHandler(int id);

    // Hands every event xcb has already read to the handlers (an own
    // connection also reads what waits on the socket), then ends the batch.
    void dispatchEvents();
    void flush();
    // The sequence number of a no-op request sent now: the difference of
    // two, less one, is the number of requests sent in between.
    unsigned int markRequestSequence();

signals:
    void eventsDispatched();

private:
    class NativeEventFilter;

    X11Connection(xcb_connection_t* connection, int screenNumber, bool ownsConnection);
    void handle(const xcb_generic_event_t& event);
    // Hands out events xcb has read already; true when there were some.
    bool takeQueuedEvents();
    void finishBatchLater();
    void finishBatch();
    void watchOwnSocket();

    xcb_connection_t* connection_ = nullptr;
    int screenNumber_ = 0;
    bool ownsConnection_ = false;
    xcb_ewmh_connection_t ewmh_{};
    X11Atoms atoms_;
    std::map<int, EventHandler> handlers_;
    int nextHandlerID_ = 1;
    bool batchPending_ = false;
    bool batchScheduled_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<QAbstractNativeEventFilter> filter_;
    QMetaObject::Connection aboutToBlock_;
    QMetaObject::Connection awake_;
};

} // namespace vesk::platform
