#include "platform/x11/XdgApplicationMatcher.h"

#include "platform/x11/XdgExecLine.h"

#include <QFileInfo>

#include <functional>

namespace vesk::platform {

namespace {

using Rule = std::function<bool(const XdgApplication&)>;

bool equalIgnoringCase(const QString& a, const QString& b)
{
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// The first application the rule accepts, one shown in menus before others.
const XdgApplication* firstMatch(const XdgApplicationCatalog& catalog, const Rule& rule)
{
    const XdgApplication* hidden = nullptr;
    for (const XdgApplication& app : catalog.applications()) {
        if (!rule(app))
            continue;
        if (app.shown)
            return &app;
        if (!hidden)
            hidden = &app;
    }
    return hidden;
}

QString fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

// How many fixed arguments of the entry's program the process was started
// with when it runs that program; none when it does not.
std::optional<qsizetype> programMatch(const XdgApplication& app, const XdgProcessInfo& process)
{
    const qsizetype program = XdgExecLine::programIndex(app.command);
    if (program >= app.command.size())
        return std::nullopt;
    QStringList fixed;
    for (qsizetype i = program + 1; i < app.command.size() && !app.command[i].contains(QLatin1Char('%')); ++i)
        fixed.append(app.command[i]);

    const QStringList& line = process.commandLine;
    qsizetype arguments = 1;
    const bool sameFile = !app.executablePath.isEmpty() && process.executablePath == app.executablePath;
    const bool sameName = !line.isEmpty() && fileName(line.front()) == fileName(app.command[program]);
    const bool scriptOfIt = line.size() > 1 && !app.executablePath.isEmpty()
                            && QFileInfo(line[1]).canonicalFilePath() == app.executablePath;
    if (scriptOfIt && !sameFile && !sameName)
        arguments = 2;
    else if (!sameFile && !sameName)
        return std::nullopt;
    if (!fixed.isEmpty() && line.size() < arguments + fixed.size())
        return std::nullopt;
    for (qsizetype i = 0; i < fixed.size(); ++i) {
        if (line[arguments + i] != fixed[i])
            return std::nullopt;
    }
    return fixed.size();
}

const XdgApplication* byProgram(const XdgApplicationCatalog& catalog, const XdgProcessInfo& process)
{
    if (process.executablePath.isEmpty() && process.commandLine.isEmpty())
        return nullptr;
    const XdgApplication* best = nullptr;
    qsizetype bestFixed = -1;
    for (const XdgApplication& app : catalog.applications()) {
        const auto fixed = programMatch(app, process);
        if (!fixed)
            continue;
        const bool better = *fixed > bestFixed || (*fixed == bestFixed && app.shown && !best->shown);
        if (better) {
            best = &app;
            bestFixed = *fixed;
        }
    }
    return best;
}

QString lastComponent(const QString& id)
{
    return id.section(QLatin1Char('.'), -1);
}

} // namespace

std::optional<QString> XdgApplicationMatcher::match(const XdgApplicationCatalog& catalog, const XdgWindowOwner& owner)
{
    const QStringList names = {owner.wmClass, owner.wmClassInstance};
    std::vector<Rule> rules;
    for (const QString& name : names) {
        rules.push_back(
            [name](const XdgApplication& app) { return !name.isEmpty() && app.entry.startupWMClass == name; });
    }
    for (const QString& name : names)
        rules.push_back([name](const XdgApplication& app) { return equalIgnoringCase(name, app.id); });
    for (const QString& name : names)
        rules.push_back([name](const XdgApplication& app) { return equalIgnoringCase(name, lastComponent(app.id)); });
    for (const Rule& rule : rules) {
        if (const XdgApplication* app = firstMatch(catalog, rule))
            return app->id;
    }
    if (const XdgApplication* app = byProgram(catalog, owner.process))
        return app->id;
    return std::nullopt;
}

} // namespace vesk::platform
