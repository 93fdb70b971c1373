#include "platform/x11/XdgExecLine.h"

#include <QFileInfo>

namespace vesk::platform {

namespace {

const QString knownFieldCodes = QStringLiteral("fFuUdDnNvmick%");
const QString deprecatedFieldCodes = QStringLiteral("dDnNvm");

bool isSeparator(QChar character)
{
    return character == QLatin1Char(' ') || character == QLatin1Char('\t');
}

bool isQuotedEscape(QChar character)
{
    return character == QLatin1Char('"') || character == QLatin1Char('`') || character == QLatin1Char('$')
           || character == QLatin1Char('\\');
}

// The field codes of an argument in order, "%%" included as '%'.
QString fieldCodes(const QString& argument)
{
    QString codes;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        if (argument[i] != QLatin1Char('%'))
            continue;
        codes.append(i + 1 < argument.size() ? argument[i + 1] : QChar());
        ++i;
    }
    return codes;
}

std::optional<QString> invalidFieldCode(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        for (const QChar code : fieldCodes(argument)) {
            if (code.isNull())
                return QStringLiteral("a lone '%' ends the argument \"%1\"").arg(argument);
            if (!knownFieldCodes.contains(code))
                return QStringLiteral("the unknown field code %%1 in \"%2\"").arg(code).arg(argument);
            const bool standsAlone = code == QLatin1Char('F') || code == QLatin1Char('U') || code == QLatin1Char('i');
            if (standsAlone && argument.size() != 2)
                return QStringLiteral("%%1 inside the argument \"%2\"").arg(code).arg(argument);
        }
    }
    return std::nullopt;
}

bool hasFieldCode(const QStringList& arguments, QChar code)
{
    return std::any_of(arguments.begin(), arguments.end(),
                       [code](const QString& argument) { return fieldCodes(argument).contains(code); });
}

QString urlArgument(const QUrl& url)
{
    return url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded);
}

QStringList localFiles(const QList<QUrl>& documents)
{
    QStringList files;
    for (const QUrl& document : documents) {
        if (document.isLocalFile())
            files.append(document.toLocalFile());
    }
    return files;
}

QStringList urls(const QList<QUrl>& documents)
{
    QStringList arguments;
    for (const QUrl& document : documents)
        arguments.append(urlArgument(document));
    return arguments;
}

// One argument of the line with its field codes expanded for these
// documents: none, one, or several for the list codes.
QStringList expanded(const QString& argument, const QList<QUrl>& documents, const XdgExecContext& context)
{
    if (argument == QStringLiteral("%F"))
        return localFiles(documents);
    if (argument == QStringLiteral("%U"))
        return urls(documents);
    if (argument == QStringLiteral("%i"))
        return context.icon.isEmpty() ? QStringList() : QStringList{QStringLiteral("--icon"), context.icon};
    if (argument.size() == 2 && argument[0] == QLatin1Char('%') && deprecatedFieldCodes.contains(argument[1]))
        return {};

    QString result;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        if (argument[i] != QLatin1Char('%')) {
            result.append(argument[i]);
            continue;
        }
        const QChar code = argument[++i];
        if (code == QLatin1Char('f')) {
            const QStringList files = localFiles(documents);
            if (files.isEmpty())
                return {};
            result.append(files.front());
        } else if (code == QLatin1Char('u')) {
            if (documents.isEmpty())
                return {};
            result.append(urlArgument(documents.front()));
        } else if (code == QLatin1Char('c')) {
            result.append(context.name);
        } else if (code == QLatin1Char('k')) {
            result.append(context.desktopFilePath);
        } else if (code == QLatin1Char('%')) {
            result.append(QLatin1Char('%'));
        }
        // The deprecated codes stand for nothing.
    }
    return {result};
}

QStringList expandedCommand(const QStringList& arguments, const QList<QUrl>& documents, const XdgExecContext& context)
{
    QStringList command;
    for (const QString& argument : arguments)
        command.append(expanded(argument, documents, context));
    return command;
}

} // namespace

std::optional<XdgExecLine> XdgExecLine::parse(const QString& exec)
{
    QStringList arguments;
    QString argument;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar character = exec[i];
        if (quoted) {
            if (character == QLatin1Char('"')) {
                quoted = false;
            } else if (character == QLatin1Char('\\') && i + 1 < exec.size() && isQuotedEscape(exec[i + 1])) {
                argument.append(exec[++i]);
            } else {
                argument.append(character);
            }
        } else if (isSeparator(character)) {
            if (inArgument)
                arguments.append(argument);
            argument.clear();
            inArgument = false;
        } else {
            inArgument = true;
            if (character == QLatin1Char('"'))
                quoted = true;
            else
                argument.append(character);
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArgument)
        arguments.append(argument);
    if (arguments.isEmpty() || arguments.front().isEmpty())
        return std::nullopt;
    return XdgExecLine(arguments);
}

qsizetype XdgExecLine::programIndex(const QStringList& arguments)
{
    if (arguments.isEmpty() || QFileInfo(arguments.front()).fileName() != QStringLiteral("env"))
        return 0;
    qsizetype index = 1;
    while (index < arguments.size() && arguments[index].contains(QLatin1Char('='))
           && !arguments[index].startsWith(QLatin1Char('-')))
        ++index;
    return index;
}

std::variant<std::vector<QStringList>, QString> XdgExecLine::commands(const XdgExecContext& context) const
{
    if (auto invalid = invalidFieldCode(arguments_))
        return *invalid;
    QList<QUrl> documents = context.documents;
    const bool takesFiles = hasFieldCode(arguments_, QLatin1Char('f'));
    const bool takesURLs = hasFieldCode(arguments_, QLatin1Char('u'));
    if (takesFiles && !takesURLs)
        documents.removeIf([](const QUrl& document) { return !document.isLocalFile(); });

    std::vector<QStringList> commands;
    if ((takesFiles || takesURLs) && documents.size() > 1) {
        for (const QUrl& document : documents)
            commands.push_back(expandedCommand(arguments_, {document}, context));
    } else {
        commands.push_back(expandedCommand(arguments_, documents, context));
    }
    for (const QStringList& command : commands) {
        if (command.isEmpty() || command.front().isEmpty())
            return QStringLiteral("the command line names no program");
    }
    return commands;
}

} // namespace vesk::platform
