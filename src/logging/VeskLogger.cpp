#include "logging/VeskLogger.h"

#include "logging/VeskLogFileStore.h"

#include <QLoggingCategory>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace vesk {

namespace {

const QString kDefaultSubsystem = QStringLiteral("com.vesk");

// A category keeps a pointer to its name, so both live as long as the process.
struct NamedCategory {
    explicit NamedCategory(const QString& categoryName) : name(categoryName.toUtf8()), category(this->name.constData())
    {
    }
    QByteArray name;
    QLoggingCategory category;
};

// The subsystem and every category made so far, one per component under the
// current subsystem. Categories of an earlier subsystem are kept (the
// registry may still refer to them) but no longer handed out.
struct Categories {
    std::mutex mutex;
    QString subsystem = kDefaultSubsystem;
    std::map<QString, NamedCategory*> byComponent;
    std::vector<std::unique_ptr<NamedCategory>> all;
};

Categories& categories()
{
    static auto* instance = new Categories;
    return *instance;
}

QString categoryNameOf(const QString& subsystem, const QString& component)
{
    return subsystem + QLatin1Char('.') + component;
}

const QLoggingCategory& categoryFor(const QString& component)
{
    Categories& state = categories();
    std::lock_guard lock(state.mutex);
    NamedCategory*& entry = state.byComponent[component];
    if (!entry) {
        state.all.push_back(std::make_unique<NamedCategory>(categoryNameOf(state.subsystem, component)));
        entry = state.all.back().get();
    }
    return entry->category;
}

QtMsgType systemLogType(VeskLogLevel level)
{
    switch (level) {
    case VeskLogLevel::debug:
        return QtDebugMsg;
    case VeskLogLevel::info:
        return QtInfoMsg;
    case VeskLogLevel::warning:
        return QtWarningMsg;
    case VeskLogLevel::error:
        return QtCriticalMsg;
    }
    return QtInfoMsg;
}

} // namespace

VeskLogger::VeskLogger(QString component) : component_(std::move(component))
{
}

QString VeskLogger::categoryName() const
{
    return categoryNameOf(subsystem(), component_);
}

void VeskLogger::log(VeskLogLevel level, const QString& message) const
{
    const QtMsgType type = systemLogType(level);
    const QLoggingCategory& category = categoryFor(component_);
    if (category.isEnabled(type)) {
        QMessageLogger logger(nullptr, 0, nullptr, category.categoryName());
        const QByteArray text = message.toUtf8();
        switch (type) {
        case QtDebugMsg:
            logger.debug("%s", text.constData());
            break;
        case QtInfoMsg:
            logger.info("%s", text.constData());
            break;
        case QtWarningMsg:
            logger.warning("%s", text.constData());
            break;
        default:
            logger.critical("%s", text.constData());
            break;
        }
    }
    // The file gets every row, debug included, whatever the system log collects.
    VeskLogFileStore::shared().enqueueWrite(level, component_, message);
}

QString VeskLogger::subsystem()
{
    Categories& state = categories();
    std::lock_guard lock(state.mutex);
    return state.subsystem;
}

void VeskLogger::setMainBundleIdentifier(const std::optional<QString>& bundleIdentifier)
{
    const QString subsystem = bundleIdentifier && !bundleIdentifier->isEmpty() ? *bundleIdentifier : kDefaultSubsystem;
    Categories& state = categories();
    std::lock_guard lock(state.mutex);
    if (subsystem == state.subsystem)
        return;
    state.subsystem = subsystem;
    state.byComponent.clear();
}

std::optional<QString> VeskLogger::componentOfCategory(const QString& category)
{
    const QString prefix = subsystem() + QLatin1Char('.');
    if (!category.startsWith(prefix) || category.size() == prefix.size())
        return std::nullopt;
    return category.mid(prefix.size());
}

} // namespace vesk
