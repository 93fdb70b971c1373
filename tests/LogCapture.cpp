#include "LogCapture.h"

#include "logging/VeskLogger.h"

namespace vesk::test {

namespace {
// Guards `active` so that a capture going away never races a message from another thread.
std::mutex activeMutex;
LogCapture* active = nullptr;
} // namespace

LogCapture::LogCapture()
{
    std::lock_guard activeLock(activeMutex);
    active = this;
    previous_ = qInstallMessageHandler(&LogCapture::handle);
}

LogCapture::~LogCapture()
{
    std::lock_guard activeLock(activeMutex);
    qInstallMessageHandler(previous_);
    active = nullptr;
}

void LogCapture::handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    std::lock_guard activeLock(activeMutex);
    LogCapture* capture = active;
    if (!capture)
        return;
    const QString category = QString::fromUtf8(context.category ? context.category : "default");
    const QString component = VeskLogger::componentOfCategory(category).value_or(QString());
    std::lock_guard lock(capture->mutex_);
    capture->entries_.push_back({type, category, component, message});
}

std::vector<LogCapture::Entry> LogCapture::entries() const
{
    std::lock_guard lock(mutex_);
    return entries_;
}

QStringList LogCapture::messages(const QString& component) const
{
    std::lock_guard lock(mutex_);
    QStringList result;
    for (const Entry& entry : entries_) {
        if (entry.component == component)
            result.append(entry.message);
    }
    return result;
}

QStringList LogCapture::categoryMessages(const QString& category) const
{
    std::lock_guard lock(mutex_);
    QStringList result;
    for (const Entry& entry : entries_) {
        if (entry.category == category)
            result.append(entry.message);
    }
    return result;
}

QStringList LogCapture::defaultCategoryMessages() const
{
    std::lock_guard lock(mutex_);
    QStringList result;
    for (const Entry& entry : entries_) {
        if (entry.category == QLatin1String("default"))
            result.append(entry.message);
    }
    return result;
}

bool LogCapture::contains(const QString& fragment) const
{
    std::lock_guard lock(mutex_);
    for (const Entry& entry : entries_) {
        if (entry.message.contains(fragment))
            return true;
    }
    return false;
}

int LogCapture::count(const QString& fragment) const
{
    std::lock_guard lock(mutex_);
    int count = 0;
    for (const Entry& entry : entries_) {
        if (entry.message.contains(fragment))
            ++count;
    }
    return count;
}

void LogCapture::clear()
{
    std::lock_guard lock(mutex_);
    entries_.clear();
}

} // namespace vesk::test
