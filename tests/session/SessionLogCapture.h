#pragma once

#include "LogCapture.h"

#include <QString>
#include <QStringList>

#include <vector>

// The log capture as session tests read it: every question is about one
// category, the session manager's unless another is named.
class SessionLogCapture {
public:
    using Entry = vesk::test::LogCapture::Entry;

    std::vector<Entry> entries() const { return capture_.entries(); }
    void clear() { capture_.clear(); }

    // Messages of the category that contain the text.
    int count(const QString& text, const QString& category = QStringLiteral("SessionManager")) const
    {
        return int(capture_.messages(category).filter(text).size());
    }
    bool contains(const QString& text, const QString& category = QStringLiteral("SessionManager")) const
    {
        return count(text, category) > 0;
    }
    // The first message of the category that contains the text, or empty.
    QString find(const QString& text, const QString& category = QStringLiteral("SessionManager")) const
    {
        const QStringList found = capture_.messages(category).filter(text);
        return found.isEmpty() ? QString() : found.first();
    }

private:
    vesk::test::LogCapture capture_;
};
