#include "platform/x11/XdgKeyFile.h"

#include <QStringDecoder>

namespace vesk::platform {

namespace {

bool isKeyCharacter(QChar character)
{
    return (character >= QLatin1Char('A') && character <= QLatin1Char('Z'))
           || (character >= QLatin1Char('a') && character <= QLatin1Char('z'))
           || (character >= QLatin1Char('0') && character <= QLatin1Char('9')) || character == QLatin1Char('-')
           || character == QLatin1Char('_') || character == QLatin1Char('.');
}

// "Name" or "Name[de_DE.UTF-8@euro]" as the key is looked up: the encoding
// of a locale never counts. Empty when the key is not well formed.
QString normalisedKey(const QString& key)
{
    const qsizetype open = key.indexOf(QLatin1Char('['));
    const QString base = open < 0 ? key : key.left(open);
    if (base.isEmpty() || !std::all_of(base.begin(), base.end(), isKeyCharacter))
        return {};
    if (open < 0)
        return base;
    if (!key.endsWith(QLatin1Char(']')) || key.size() - open < 3)
        return {};
    QString locale = key.mid(open + 1, key.size() - open - 2);
    if (locale.contains(QLatin1Char('[')) || locale.contains(QLatin1Char(']')) || locale.contains(QLatin1Char(' ')))
        return {};
    const qsizetype dot = locale.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        const qsizetype at = locale.indexOf(QLatin1Char('@'), dot);
        locale.remove(dot, (at < 0 ? locale.size() : at) - dot);
    }
    return base + QLatin1Char('[') + locale + QLatin1Char(']');
}

bool isGroupName(const QString& name)
{
    return !name.isEmpty() && std::none_of(name.begin(), name.end(), [](QChar character) {
        return character == QLatin1Char('[') || character == QLatin1Char(']')
               || character.category() == QChar::Other_Control;
    });
}

} // namespace

std::variant<XdgKeyFile, QString> XdgKeyFile::parse(const QByteArray& data)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(data);
    if (decoder.hasError())
        return QStringLiteral("not UTF-8 text");
    if (text.contains(QChar(0)))
        return QStringLiteral("contains a NUL character");

    XdgKeyFile file;
    Entries* current = nullptr;
    int lineNumber = 0;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        ++lineNumber;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        if (trimmed.startsWith(QLatin1Char('['))) {
            const QString name =
                trimmed.endsWith(QLatin1Char(']')) ? trimmed.mid(1, trimmed.size() - 2).toString() : QString();
            if (!isGroupName(name))
                return QStringLiteral("line %1: a malformed group header").arg(lineNumber);
            if (file.groups_.contains(name))
                return QStringLiteral("line %1: the group \"%2\" comes twice").arg(lineNumber).arg(name);
            current = &file.groups_[name];
            file.groupOrder_.push_back(name);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            return QStringLiteral("line %1: neither a group header nor an entry").arg(lineNumber);
        if (!current)
            return QStringLiteral("line %1: an entry before the first group").arg(lineNumber);
        const QString key = normalisedKey(line.left(equals).trimmed().toString());
        if (key.isEmpty())
            return QStringLiteral("line %1: a malformed key").arg(lineNumber);
        current->try_emplace(key, line.mid(equals + 1).trimmed().toString());
    }
    return file;
}

std::optional<QString> XdgKeyFile::rawValue(const QString& group, const QString& key) const
{
    const auto entries = groups_.find(group);
    if (entries == groups_.end())
        return std::nullopt;
    const auto value = entries->second.find(key);
    if (value == entries->second.end())
        return std::nullopt;
    return value->second;
}

std::optional<QString> XdgKeyFile::string(const QString& group, const QString& key) const
{
    const auto value = rawValue(group, key);
    return value ? std::optional<QString>(unescaped(*value)) : std::nullopt;
}

std::optional<QString> XdgKeyFile::localeString(const QString& group, const QString& key, const XdgLocale& locale) const
{
    for (const QString& suffix : locale.keySuffixes()) {
        if (auto value = string(group, key + QLatin1Char('[') + suffix + QLatin1Char(']')))
            return value;
    }
    return string(group, key);
}

std::optional<QStringList> XdgKeyFile::stringList(const QString& group, const QString& key) const
{
    const auto value = rawValue(group, key);
    return value ? std::optional<QStringList>(splitList(*value)) : std::nullopt;
}

std::optional<bool> XdgKeyFile::boolean(const QString& group, const QString& key) const
{
    const auto value = rawValue(group, key);
    if (value == QStringLiteral("true"))
        return true;
    if (value == QStringLiteral("false"))
        return false;
    return std::nullopt;
}

QString XdgKeyFile::unescaped(const QString& value)
{
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar character = value[i];
        if (character != QLatin1Char('\\') || i + 1 == value.size()) {
            result.append(character);
            continue;
        }
        const QChar next = value[i + 1];
        switch (next.unicode()) {
        case 's':
            result.append(QLatin1Char(' '));
            break;
        case 'n':
            result.append(QLatin1Char('\n'));
            break;
        case 't':
            result.append(QLatin1Char('\t'));
            break;
        case 'r':
            result.append(QLatin1Char('\r'));
            break;
        case '\\':
            result.append(QLatin1Char('\\'));
            break;
        default:
            result.append(character);
            result.append(next);
            break;
        }
        ++i;
    }
    return result;
}

QStringList XdgKeyFile::splitList(const QString& value)
{
    QStringList items;
    QString item;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar character = value[i];
        if (character == QLatin1Char('\\') && i + 1 < value.size()) {
            // "\;" is a semicolon inside an item; other escapes are the string's own.
            if (value[i + 1] == QLatin1Char(';'))
                item.append(QLatin1Char(';'));
            else
                item.append(character).append(value[i + 1]);
            ++i;
        } else if (character == QLatin1Char(';')) {
            items.append(unescaped(item));
            item.clear();
        } else {
            item.append(character);
        }
    }
    if (!item.isEmpty())
        items.append(unescaped(item));
    return items;
}

} // namespace vesk::platform
