#include "platform/x11/XdgApplicationCatalog.h"

#include "platform/x11/XdgExecLine.h"

#include <QDir>
#include <QDirIterator>

#include <set>

namespace vesk::platform {

namespace {

const QString desktopSuffix = QStringLiteral(".desktop");

// The ".desktop" files below a folder, by their path relative to it.
QStringList desktopFilesBelow(const QDir& folder, int limit)
{
    QStringList paths;
    QDirIterator files(folder.path(), {QStringLiteral("*.desktop")}, QDir::Files | QDir::Hidden,
                       QDirIterator::Subdirectories);
    while (files.hasNext() && paths.size() < limit)
        paths.append(folder.relativeFilePath(files.next()));
    paths.sort();
    return paths;
}

QString desktopFileID(const QString& relativePath)
{
    QString id = relativePath;
    id.chop(desktopSuffix.size());
    return id.replace(QLatin1Char('/'), QLatin1Char('-'));
}

bool intersects(const QStringList& a, const QStringList& b)
{
    return std::any_of(a.begin(), a.end(), [&b](const QString& item) { return b.contains(item); });
}

XdgApplication application(const QString& id, const QString& filePath, XdgDesktopEntry entry,
                           const XdgEnvironment& environment)
{
    XdgApplication app;
    app.id = id;
    app.filePath = filePath;
    app.shown = XdgApplicationCatalog::isShown(entry, environment);
    if (const auto line = XdgExecLine::parse(entry.exec)) {
        app.command = line->arguments();
        const qsizetype program = XdgExecLine::programIndex(app.command);
        if (program < app.command.size())
            app.executablePath = environment.findExecutable(app.command[program]);
    }
    app.entry = std::move(entry);
    return app;
}

} // namespace

XdgApplicationCatalog XdgApplicationCatalog::scan(const XdgEnvironment& environment)
{
    XdgApplicationCatalog catalog;
    std::set<QString> seen;
    int budget = maximumEntries;
    for (const QString& dataFolder : environment.dataFolders()) {
        const QDir folder(QDir(dataFolder).filePath(QStringLiteral("applications")));
        for (const QString& relativePath : desktopFilesBelow(folder, budget)) {
            --budget;
            const QString id = desktopFileID(relativePath);
            if (seen.contains(id))
                continue;
            const QString filePath = folder.filePath(relativePath);
            auto loaded = XdgDesktopEntry::load(filePath, environment.locale);
            if (!std::holds_alternative<XdgDesktopEntry>(loaded))
                continue;
            seen.insert(id);
            XdgDesktopEntry& entry = std::get<XdgDesktopEntry>(loaded);
            if (!entry.hidden && entry.isApplication())
                catalog.applications_.push_back(application(id, filePath, std::move(entry), environment));
        }
    }
    return catalog;
}

const XdgApplication* XdgApplicationCatalog::find(const QString& id) const
{
    const auto found = std::find_if(applications_.begin(), applications_.end(),
                                    [&id](const XdgApplication& app) { return app.id == id; });
    return found == applications_.end() ? nullptr : &*found;
}

std::vector<const XdgApplication*> XdgApplicationCatalog::shownApplications() const
{
    std::vector<const XdgApplication*> shown;
    for (const XdgApplication& app : applications_) {
        if (app.shown)
            shown.push_back(&app);
    }
    return shown;
}

bool XdgApplicationCatalog::isShown(const XdgDesktopEntry& entry, const XdgEnvironment& environment)
{
    if (entry.noDisplay || entry.hidden)
        return false;
    if (!entry.onlyShowIn.isEmpty() && !intersects(entry.onlyShowIn, environment.currentDesktops))
        return false;
    if (intersects(entry.notShowIn, environment.currentDesktops))
        return false;
    return entry.tryExec.isEmpty() || !environment.findExecutable(entry.tryExec).isEmpty();
}

} // namespace vesk::platform
