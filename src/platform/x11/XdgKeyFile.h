#pragma once

#include "platform/x11/XdgLocale.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <variant>
#include <vector>

namespace vesk::platform {

// A file of "[Group]" headers and "Key=Value" lines in UTF-8, as desktop
// entries and icon themes write them. Values are kept as written; the
// accessors undo the escapes of their value type.
class XdgKeyFile {
public:
    // The file, or why it was refused: text that is not UTF-8, a line that
    // is neither a comment, a group header nor an entry, an entry before
    // the first group, a group named twice.
    static std::variant<XdgKeyFile, QString> parse(const QByteArray& data);

    // The groups in the file's order.
    const std::vector<QString>& groups() const { return groupOrder_; }
    bool hasGroup(const QString& group) const { return groups_.contains(group); }

    // The value as written, "Name[de]" names a localised one. Of a key
    // written twice in a group the first counts.
    std::optional<QString> rawValue(const QString& group, const QString& key) const;
    // A string with "\s", "\n", "\t", "\r" and "\\" undone; any other
    // backslash stays as it is, for the Exec key's own quoting.
    std::optional<QString> string(const QString& group, const QString& key) const;
    // The string for the best-matching locale, else the unlocalised one.
    std::optional<QString> localeString(const QString& group, const QString& key, const XdgLocale& locale) const;
    // Values separated by ';' ("\;" is a semicolon in a value); a trailing
    // separator ends the list.
    std::optional<QStringList> stringList(const QString& group, const QString& key) const;
    // "true" or "false"; anything else counts as not set.
    std::optional<bool> boolean(const QString& group, const QString& key) const;

    static QString unescaped(const QString& value);
    static QStringList splitList(const QString& value);

private:
    using Entries = std::map<QString, QString>;

    std::map<QString, Entries> groups_;
    std::vector<QString> groupOrder_;
};

} // namespace vesk::platform
