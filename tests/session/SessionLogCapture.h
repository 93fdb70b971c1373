#pragma once

#include <QString>
#include <QtGlobal>

#include <mutex>
#include <vector>

// Collects the messages logged while it exists (every logger goes through
// Qt's logging with its component as category), from any thread.
class SessionLogCapture {
public:
    struct Entry {
        QString category;
        QtMsgType type;
        QString message;
    };

    SessionLogCapture()
    {
        std::lock_guard lock(mutex());
        current() = this;
        previous_ = qInstallMessageHandler(&SessionLogCapture::handle);
    }
    ~SessionLogCapture()
    {
        qInstallMessageHandler(previous_);
        std::lock_guard lock(mutex());
        current() = nullptr;
    }

    std::vector<Entry> entries() const
    {
        std::lock_guard lock(mutex());
        return entries_;
    }
    void clear()
    {
        std::lock_guard lock(mutex());
        entries_.clear();
    }

    // Messages of the category that contain the text.
    int count(const QString& text, const QString& category = QStringLiteral("SessionManager")) const
    {
        int n = 0;
        for (const Entry& entry : entries()) {
            if (entry.category == category && entry.message.contains(text))
                ++n;
        }
        return n;
    }
    bool contains(const QString& text, const QString& category = QStringLiteral("SessionManager")) const
    {
        return count(text, category) > 0;
    }
    // The first message of the category that contains the text, or empty.
    QString find(const QString& text, const QString& category = QStringLiteral("SessionManager")) const
    {
        for (const Entry& entry : entries()) {
            if (entry.category == category && entry.message.contains(text))
                return entry.message;
        }
        return {};
    }

private:
    static std::mutex& mutex()
    {
        static std::mutex instance;
        return instance;
    }
    static SessionLogCapture*& current()
    {
        static SessionLogCapture* capture = nullptr;
        return capture;
    }
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        std::lock_guard lock(mutex());
        if (SessionLogCapture* capture = current())
            capture->entries_.push_back({QString::fromUtf8(context.category), type, message});
    }

    QtMessageHandler previous_ = nullptr;
    std::vector<Entry> entries_;
};
