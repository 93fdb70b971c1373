#pragma once

#include <QDateTime>

namespace vesk {

// The wall clock, injected wherever the system reads the current date.
class Clock {
public:
    virtual ~Clock() = default;
    // The current date in UTC.
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTimeUtc(); }
};

} // namespace vesk
