#pragma once

#include "LogCapture.h"

#include <QString>
#include <QStringList>

#include <vector>

// The log capture as session tests read it: every question is about the
// loggers of one component, the session manager's unless another is named.
class SessionLogCapture {
public:
    using Entry = vesk::test::LogCapture::Entry;

    std::vector<Entry> entries() const { return capture_.entries(); }
    void clear() { capture_.clear(); }

    // Messages of the component that contain the text.
    int count(const QString& text, const QString& component = QStringLiteral("SessionManager")) const
    {
        return int(capture_.messages(component).filter(text).size());
    }
    bool contains(const QString& text, const QString& component = QStringLiteral("SessionManager")) const
    {
        return count(text, component) > 0;
    }
    // The first message of the component that contains the text, or empty.
    QString find(const QString& text, const QString& component = QStringLiteral("SessionManager")) const
    {
        const QStringList found = capture_.messages(component).filter(text);
        return found.isEmpty() ? QString() : found.first();
    }

private:
    vesk::test::LogCapture capture_;
};
