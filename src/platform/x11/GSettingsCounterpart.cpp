#include "platform/x11/GSettingsCounterpart.h"

#include <QStringList>

#include <algorithm>

namespace vesk::platform {

namespace {

const QString dockDomain = QStringLiteral("com.apple.dock");
const QString screencaptureDomain = QStringLiteral("com.apple.screencapture");
// A keybinding with no keys: an empty list, or where bindings are single
// texts (MATE's window manager) the text "disabled".
const QString noBindings = QStringLiteral("@as []");
const QString disabledBinding = QStringLiteral("'disabled'");

using Target = GSettingsCounterpart::Target;

void addBindings(std::vector<Target>& targets, const QString& schema, const QStringList& keys,
                 const QString& none = noBindings)
{
    for (const QString& key : keys)
        targets.push_back({{schema, key}, none});
}

// "<prefix>1" .. "<prefix>12" and "<prefix><direction>" for each direction.
QStringList workspaceKeys(const QString& prefix, const QStringList& directions)
{
    QStringList keys;
    for (int number = 1; number <= 12; ++number)
        keys << prefix + QString::number(number);
    for (const QString& direction : directions)
        keys << prefix + direction;
    return keys;
}

const QStringList switcherKeys{QStringLiteral("switch-applications"), QStringLiteral("switch-applications-backward"),
                               QStringLiteral("switch-windows"),      QStringLiteral("switch-windows-backward"),
                               QStringLiteral("switch-group"),        QStringLiteral("switch-group-backward"),
                               QStringLiteral("cycle-windows"),       QStringLiteral("cycle-windows-backward"),
                               QStringLiteral("cycle-group"),         QStringLiteral("cycle-group-backward")};
const QStringList overviewKeys{QStringLiteral("panel-main-menu"), QStringLiteral("show-desktop")};

// Mission Control, App Exposé and Show Desktop by keyboard: the overview,
// the application grid, the desktop, and the application and window switchers.
GSettingsCounterpart exposeCounterpart(const QString& wmSchema, bool withShell, const QString& none = noBindings)
{
    GSettingsCounterpart counterpart{dockDomain, QStringLiteral("mcx-expose-disabled"), true, {}};
    if (withShell) {
        addBindings(counterpart.targets, QStringLiteral("org.gnome.shell.keybindings"),
                    {QStringLiteral("toggle-overview"), QStringLiteral("toggle-application-view"),
                     QStringLiteral("shift-overview-up"), QStringLiteral("shift-overview-down")});
        counterpart.targets.push_back(
            {{QStringLiteral("org.gnome.mutter"), QStringLiteral("overlay-key")}, QStringLiteral("''")});
    }
    addBindings(counterpart.targets, wmSchema, overviewKeys + switcherKeys, none);
    return counterpart;
}

// The switch to another Space: every keybinding that switches to a workspace
// or carries a window there.
GSettingsCounterpart workspaceCounterpart(const QString& switchSchema, const QString& moveSchema,
                                          const QStringList& directions, const QString& none = noBindings)
{
    GSettingsCounterpart counterpart{dockDomain, QStringLiteral("workspaces-auto-swoosh"), false, {}};
    addBindings(counterpart.targets, switchSchema, workspaceKeys(QStringLiteral("switch-to-workspace-"), directions),
                none);
    addBindings(counterpart.targets, moveSchema, workspaceKeys(QStringLiteral("move-to-workspace-"), directions), none);
    return counterpart;
}

GSettingsCounterpart toggle(const QString& domain, const QString& defaultsKey, bool blockingBool,
                            const GSettingsKey& key, const QString& blockingValue)
{
    return {domain, defaultsKey, blockingBool, {{key, blockingValue}}};
}

const QStringList allDirections{QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("up"),
                                QStringLiteral("down"), QStringLiteral("last")};
const QStringList fourDirections{QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("up"),
                                 QStringLiteral("down")};

std::vector<GSettingsCounterpart> gnome()
{
    const QString wm = QStringLiteral("org.gnome.desktop.wm.keybindings");
    return {
        exposeCounterpart(wm, true),
        // The hot corner is the mouse's way into the overview.
        toggle(dockDomain, QStringLiteral("showMissionControlGestureEnabled"), false,
               {QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("enable-hot-corners")},
               QStringLiteral("false")),
        workspaceCounterpart(wm, wm, allDirections),
        // The shell shows a capture as a notification banner with its preview.
        toggle(screencaptureDomain, QStringLiteral("show-thumbnail"), false,
               {QStringLiteral("org.gnome.desktop.notifications"), QStringLiteral("show-banners")},
               QStringLiteral("false")),
    };
}

std::vector<GSettingsCounterpart> budgie()
{
    const QString wm = QStringLiteral("org.gnome.desktop.wm.keybindings");
    return {exposeCounterpart(wm, false), workspaceCounterpart(wm, wm, allDirections)};
}

std::vector<GSettingsCounterpart> cinnamon()
{
    const QString wm = QStringLiteral("org.cinnamon.desktop.keybindings.wm");
    GSettingsCounterpart hotCorners{dockDomain,
                                    QStringLiteral("showMissionControlGestureEnabled"),
                                    false,
                                    {{{QStringLiteral("org.cinnamon"), QStringLiteral("hotcorner-layout")},
                                      QStringLiteral(
                                          "['expo:false:0', 'scale:false:0', 'scale:false:0', 'desktop:false:0']")}}};
    return {exposeCounterpart(wm, false), hotCorners, workspaceCounterpart(wm, wm, fourDirections),
            toggle(screencaptureDomain, QStringLiteral("show-thumbnail"), false,
                   {QStringLiteral("org.cinnamon.desktop.notifications"), QStringLiteral("display-notifications")},
                   QStringLiteral("false"))};
}

std::vector<GSettingsCounterpart> mate()
{
    return {exposeCounterpart(QStringLiteral("org.mate.Marco.global-keybindings"), false, disabledBinding),
            workspaceCounterpart(QStringLiteral("org.mate.Marco.global-keybindings"),
                                 QStringLiteral("org.mate.Marco.window-keybindings"), fourDirections, disabledBinding),
            // Do-not-disturb: the opposite sense of showing.
            toggle(screencaptureDomain, QStringLiteral("show-thumbnail"), false,
                   {QStringLiteral("org.mate.NotificationDaemon"), QStringLiteral("do-not-disturb")},
                   QStringLiteral("true"))};
}

QString negated(const QString& booleanText)
{
    return booleanText == QLatin1String("true") ? QStringLiteral("false") : QStringLiteral("true");
}

} // namespace

bool GSettingsCounterpart::isToggle() const
{
    return targets.size() == 1
           && (targets.front().blockingValue == QLatin1String("true")
               || targets.front().blockingValue == QLatin1String("false"));
}

QString GSettingsCounterpart::toggleValue(bool defaultsValue) const
{
    const QString& blocking = targets.front().blockingValue;
    return defaultsValue == blockingBool ? blocking : negated(blocking);
}

bool GSettingsCounterpart::toggleBool(const QString& gsettingsValue) const
{
    return gsettingsValue.trimmed() == targets.front().blockingValue ? blockingBool : !blockingBool;
}

const std::vector<GSettingsCounterpart>& GSettingsCounterpart::forFamily(GSettingsDesktopFamily family)
{
    static const std::vector<GSettingsCounterpart> gnomeTable = gnome();
    static const std::vector<GSettingsCounterpart> budgieTable = budgie();
    static const std::vector<GSettingsCounterpart> cinnamonTable = cinnamon();
    static const std::vector<GSettingsCounterpart> mateTable = mate();
    static const std::vector<GSettingsCounterpart> none;
    switch (family) {
    case GSettingsDesktopFamily::gnome:
        return gnomeTable;
    case GSettingsDesktopFamily::budgie:
        return budgieTable;
    case GSettingsDesktopFamily::cinnamon:
        return cinnamonTable;
    case GSettingsDesktopFamily::mate:
        return mateTable;
    case GSettingsDesktopFamily::other:
        break;
    }
    return none;
}

std::vector<GSettingsKey> GSettingsCounterpart::knownKeys(const QString& domain, const QString& defaultsKey)
{
    std::vector<GSettingsKey> keys;
    for (const auto family : {GSettingsDesktopFamily::gnome, GSettingsDesktopFamily::budgie,
                              GSettingsDesktopFamily::cinnamon, GSettingsDesktopFamily::mate}) {
        for (const GSettingsCounterpart& counterpart : forFamily(family)) {
            if (counterpart.domain != domain || counterpart.defaultsKey != defaultsKey)
                continue;
            for (const Target& target : counterpart.targets) {
                if (std::find(keys.begin(), keys.end(), target.key) == keys.end())
                    keys.push_back(target.key);
            }
        }
    }
    return keys;
}

} // namespace vesk::platform
