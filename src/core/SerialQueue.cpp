#include "core/SerialQueue.h"

#include <algorithm>

namespace vesk {

namespace {
thread_local const SerialQueue* currentQueue = nullptr;
}

SerialQueue::SerialQueue(QString label) : label_(std::move(label)), thread_([this] { run(); })
{
}

SerialQueue::~SerialQueue()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool SerialQueue::isCurrent() const
{
    return currentQueue == this;
}

void SerialQueue::async(std::function<void()> work)
{
    enqueue(Clock::now(), std::move(work));
}

void SerialQueue::sync(const std::function<void()>& work)
{
    if (isCurrent()) {
        work();
        return;
    }
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    bool done = false;
    async([&] {
        work();
        std::lock_guard lock(doneMutex);
        done = true;
        doneSignal.notify_one();
    });
    std::unique_lock lock(doneMutex);
    doneSignal.wait(lock, [&] { return done; });
}

void SerialQueue::enqueue(Clock::time_point due, std::function<void()> work)
{
    {
        std::lock_guard lock(mutex_);
        entries_.push_back({due, nextSequence_++, std::move(work)});
    }
    wake_.notify_all();
}

void SerialQueue::run()
{
    currentQueue = this;
    std::unique_lock lock(mutex_);
    for (;;) {
        auto earliest = std::min_element(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
            return a.due != b.due ? a.due < b.due : a.sequence < b.sequence;
        });
        const bool hasImmediate = earliest != entries_.end() && earliest->due <= Clock::now();
        if (hasImmediate) {
            std::function<void()> work = std::move(earliest->work);
            entries_.erase(earliest);
            lock.unlock();
            work();
            lock.lock();
            continue;
        }
        // On shutdown, work already due has run; timers not yet due are dropped.
        if (stopping_)
            return;
        if (earliest == entries_.end()) {
            wake_.wait(lock);
        } else {
            // A copy: the wait reads the time again after an enqueue of
            // another thread, which may have moved the entries.
            const Clock::time_point due = earliest->due;
            wake_.wait_until(lock, due);
        }
    }
}

std::unique_ptr<RepeatingTimer> SerialQueue::scheduleRepeating(std::chrono::milliseconds interval,
                                                               std::function<void()> tick)
{
    auto state = std::make_shared<RepeatingTimer::State>();
    state->interval = interval;
    state->tick = std::move(tick);
    RepeatingTimer::fire(*this, state, Clock::now() + interval);
    return std::unique_ptr<RepeatingTimer>(new RepeatingTimer(*this, state));
}

RepeatingTimer::RepeatingTimer(SerialQueue&, std::shared_ptr<State> state) : state_(std::move(state))
{
}

RepeatingTimer::~RepeatingTimer()
{
    cancel();
}

void RepeatingTimer::cancel()
{
    state_->cancelled = true;
}

bool RepeatingTimer::isCancelled() const
{
    return state_->cancelled;
}

void RepeatingTimer::fire(SerialQueue& queue, const std::shared_ptr<State>& state,
                          std::chrono::steady_clock::time_point due)
{
    queue.enqueue(due, [&queue, state, due] {
        if (state->cancelled)
            return;
        state->tick();
        if (!state->cancelled)
            fire(queue, state, due + state->interval);
    });
}

} // namespace vesk
