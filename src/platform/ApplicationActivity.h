#pragma once

#include <QObject>

namespace vesk::platform {

// The application's own activity as the system reports it: becoming the
// active application, resigning that, and the end of the process. Signals
// arrive on the main thread; willTerminate comes at most once.
class ApplicationActivity : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~ApplicationActivity() override = default;

    virtual bool isActive() const = 0;

signals:
    void didBecomeActive();
    void didResignActive();
    void willTerminate();
};

} // namespace vesk::platform
