#pragma once

#include "logging/VeskLogger.h"
#include "platform/CommandRunning.h"
#include "platform/x11/GSettingsCounterpart.h"
#include "platform/x11/GSettingsDesktopFamily.h"
#include "platform/x11/GSettingsKey.h"
#include "platform/x11/GSettingsTool.h"

#include <map>
#include <memory>
#include <optional>
#include <set>

namespace vesk::platform {

// Carries out the system-settings commands of the enforcement services
// ("/usr/bin/defaults read|write|delete <domain> <key> ...", "/usr/bin/killall
// Dock") on a desktop that keeps its window-manager settings in GSettings:
// each defaults key stands for the GSettings keys of the running desktop
// family that do the same job (`GSettingsCounterpart`).
//
// So that a service's backup puts back exactly what the user had:
// - a key that is one boolean GSettings key reads and writes as that boolean;
// - a key that stands for several reads as one text, a JSON object of
//   "<schema> <key>" to the GSettings value, which written back sets those
//   values again; a boolean write of the session's value sets the blocking
//   values, the other boolean and "delete" reset the keys to the schema's
//   defaults. A text may only name keys that stand for that defaults key.
// A defaults key with no counterpart on this desktop (family, schema or key
// missing, checked once with list-schemas and list-keys) reads as not there,
// and writing or deleting it does nothing; that is logged once, and once for
// the whole desktop when none of its settings is installed. A key that stands
// for several of which only some are installed uses those, and says once
// which are missing. "killall Dock"
// needs nothing here and succeeds. Main thread only.
class GSettingsCommandRunner final : public CommandRunning {
public:
    // `xdgCurrentDesktop` is the session's XDG_CURRENT_DESKTOP.
    GSettingsCommandRunner(std::unique_ptr<GSettingsTool> tool, const QString& xdgCurrentDesktop);

    CommandResult run(const QString& executable, const QStringList& arguments) override;

    GSettingsDesktopFamily family() const { return family_; }

private:
    CommandResult runDefaults(const QStringList& arguments);
    CommandResult read(const QString& domain, const QString& key);
    CommandResult write(const QString& domain, const QString& key, const QStringList& value);
    CommandResult writeBool(const QString& domain, const QString& key, bool value);
    CommandResult writeBackup(const QString& domain, const QString& key, const QString& text);
    CommandResult remove(const QString& domain, const QString& key);

    // The family's counterpart with only the keys this desktop has; none
    // (and said once) when nothing of it is installed.
    std::optional<GSettingsCounterpart> installedCounterpart(const QString& domain, const QString& key);
    bool isInstalled(const GSettingsKey& key);
    bool familyHasAnyInstalled();
    void reportNoCounterpart(const QString& domain, const QString& key);

    std::optional<std::map<GSettingsKey, QString>> currentValues(const std::set<GSettingsKey>& keys);
    // Sets the keys whose current values differ.
    CommandResult apply(const std::map<GSettingsKey, QString>& wanted);
    CommandResult resetKeys(const std::vector<GSettingsCounterpart::Target>& targets);

    std::unique_ptr<GSettingsTool> tool_;
    GSettingsDesktopFamily family_;
    QString xdgCurrentDesktop_;
    std::optional<std::set<QString>> schemas_;
    std::map<QString, std::set<QString>> keysBySchema_;
    std::set<QString> reportedKeys_;
    bool desktopReported_ = false;
    VeskLogger logger_{QStringLiteral("GSettingsCommandRunner")};
};

} // namespace vesk::platform
