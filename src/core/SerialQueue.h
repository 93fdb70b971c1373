#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vesk {

class RepeatingTimer;

// A serial queue on one thread of its own: blocks run one at a time, in the
// order they were submitted. Destroying the queue runs what was already
// submitted, then joins the thread.
class SerialQueue {
public:
    explicit SerialQueue(QString label);
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    const QString& label() const { return label_; }
    // True when called from a block running on this queue.
    bool isCurrent() const;

    void async(std::function<void()> work);
    // Runs the work on the queue and waits for it. Called from the queue
    // itself, it runs inline instead of waiting on itself.
    void sync(const std::function<void()>& work);

    // A timer that first fires one interval after this call, then every
    // interval, on this queue, until it is cancelled or destroyed.
    std::unique_ptr<RepeatingTimer> scheduleRepeating(std::chrono::milliseconds interval, std::function<void()> tick);

private:
    using Clock = std::chrono::steady_clock;
    struct Entry {
        Clock::time_point due;
        std::uint64_t sequence;
        std::function<void()> work;
    };

    friend class RepeatingTimer;
    void enqueue(Clock::time_point due, std::function<void()> work);
    void run();

    QString label_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Entry> entries_;
    std::uint64_t nextSequence_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

// A repeating timer on a serial queue. cancel() stops it; a timer that is
// destroyed cancels itself.
class RepeatingTimer {
public:
    ~RepeatingTimer();
    void cancel();
    bool isCancelled() const;

private:
    friend class SerialQueue;
    struct State {
        std::atomic<bool> cancelled{false};
        std::chrono::milliseconds interval;
        std::function<void()> tick;
    };
    RepeatingTimer(SerialQueue& queue, std::shared_ptr<State> state);
    static void fire(SerialQueue& queue, const std::shared_ptr<State>& state,
                     std::chrono::steady_clock::time_point due);

    std::shared_ptr<State> state_;
};

} // namespace vesk
