#include "logging/VeskLogger.h"

#include "logging/VeskLogFileStore.h"

#include <QLoggingCategory>

#include <map>
#include <memory>
#include <mutex>

namespace vesk {

namespace {

// A category keeps a pointer to its name, so both live as long as the process.
struct NamedCategory {
    explicit NamedCategory(const QString& component)
        : name(component.toUtf8())
        , category(name.constData())
    {
    }
    QByteArray name;
    QLoggingCategory category;
};

const QLoggingCategory& categoryFor(const QString& component)
{
    static std::mutex mutex;
    static auto* categories = new std::map<QString, std::unique_ptr<NamedCategory>>;
    std::lock_guard lock(mutex);
    auto& entry = (*categories)[component];
    if (!entry)
        entry = std::make_unique<NamedCategory>(component);
    return entry->category;
}

QtMsgType systemLogType(VeskLogLevel level)
{
    switch (level) {
    case VeskLogLevel::debug: return QtDebugMsg;
    case VeskLogLevel::info: return QtInfoMsg;
    case VeskLogLevel::warning: return QtWarningMsg;
    case VeskLogLevel::error: return QtCriticalMsg;
    }
    return QtInfoMsg;
}

} // namespace

VeskLogger::VeskLogger(QString component)
    : component_(std::move(component))
    , category_(&categoryFor(component_))
{
}

void VeskLogger::log(VeskLogLevel level, const QString& message) const
{
    const QtMsgType type = systemLogType(level);
    if (category_->isEnabled(type)) {
        QMessageLogger logger(nullptr, 0, nullptr, category_->categoryName());
        const QByteArray text = message.toUtf8();
        switch (type) {
        case QtDebugMsg: logger.debug("%s", text.constData()); break;
        case QtInfoMsg: logger.info("%s", text.constData()); break;
        case QtWarningMsg: logger.warning("%s", text.constData()); break;
        default: logger.critical("%s", text.constData()); break;
        }
    }
    // The file gets every row, debug included, whatever the system log collects.
    VeskLogFileStore::shared().enqueueWrite(level, component_, message);
}

} // namespace vesk
