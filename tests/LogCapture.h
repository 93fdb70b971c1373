#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <mutex>
#include <vector>

namespace vesk::test {

// Captures what goes to the system log (Qt's message handler) while it
// exists, from any thread. Loggers write under "<subsystem>.<component>";
// the log store's own reports use the "default" category.
class LogCapture {
public:
    struct Entry {
        QtMsgType type;
        QString category;
        // The logger's component, empty for a category no logger writes under.
        QString component;
        QString message;
    };

    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<Entry> entries() const;
    // The messages of the loggers of one component, in order.
    QStringList messages(const QString& component) const;
    // The messages of one Qt category that no logger writes under, in order.
    QStringList categoryMessages(const QString& category) const;
    // The messages of Qt's default category (the log store's reports), in order.
    QStringList defaultCategoryMessages() const;
    bool contains(const QString& fragment) const;
    // How many messages contain the fragment.
    int count(const QString& fragment) const;
    void clear();

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);

    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    QtMessageHandler previous_;
};

} // namespace vesk::test
