#include "platform/x11/X11SystemInfo.h"

#include "platform/x11/GSettingsTool.h"

#include <QDir>
#include <QFile>

namespace vesk::platform {

namespace {

// What boards without a real name put into the tables.
bool isPlaceholder(const QString& name)
{
    static const QStringList placeholders{
        QStringLiteral("To Be Filled By O.E.M."),
        QStringLiteral("To be filled by O.E.M."),
        QStringLiteral("System Product Name"),
        QStringLiteral("Default string"),
        QStringLiteral("Not Applicable"),
        QStringLiteral("Not Specified"),
        QStringLiteral("None"),
    };
    return name.isEmpty() || placeholders.contains(name, Qt::CaseInsensitive);
}

QString readEntry(const QString& folder, const QString& name)
{
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The entries are one short line; a bound keeps a strange file out.
    return QString::fromUtf8(file.read(256)).trimmed();
}

} // namespace

X11SystemInfo::X11SystemInfo(const QString& dmiFolderPath, GSettingsTool& tool)
    : model_(modelFromDmi(dmiFolderPath))
    , tool_(tool)
{
}

bool X11SystemInfo::isDarkAppearance() const
{
    if (!dark_)
        dark_ = readDarkAppearance(tool_);
    return *dark_;
}

QString X11SystemInfo::modelFromDmi(const QString& dmiFolderPath)
{
    for (const QString& entry : {QStringLiteral("product_name"), QStringLiteral("board_name")}) {
        const QString name = readEntry(dmiFolderPath, entry);
        if (!isPlaceholder(name))
            return name;
    }
    return {};
}

bool X11SystemInfo::readDarkAppearance(GSettingsTool& tool)
{
    const QString schema = QStringLiteral("org.gnome.desktop.interface");
    if (const auto scheme = tool.get({schema, QStringLiteral("color-scheme")}); scheme.ok)
        if (scheme.output == QLatin1String("'prefer-dark'"))
            return true;
    const auto theme = tool.get({schema, QStringLiteral("gtk-theme")});
    return theme.ok
           && theme.output.chopped(theme.output.endsWith(QLatin1Char('\'')) ? 1 : 0)
                  .endsWith(QLatin1String("-dark"), Qt::CaseInsensitive);
}

} // namespace vesk::platform
