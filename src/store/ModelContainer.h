#pragma once

#include "store/ModelContext.h"
#include "store/StoreResult.h"

#include <QString>

#include <memory>

namespace vesk {

// The store file of session records, current allowlist and presets: an SQLite
// database with one table per model ("FocusSession", "AllowlistPreset",
// "CurrentAllowlist"), each with a "pk" row key and one column per attribute.
// The schema version is kept in PRAGMA user_version (1.0.0 is 10000); a newer
// version's file is refused rather than changed, and so is a file whose tables
// are not the ones this version writes. Each container has its own
// connection, so several can be open at once (e.g. over the same file).
class ModelContainer {
public:
    static constexpr const char* storeFileName = "VeskData.store";
    static constexpr int schemaUserVersion = 10000;
    static QString schemaVersion() { return QStringLiteral("1.0.0"); }

    // "VeskData.store" directly in the application data folder.
    static QString defaultStorePath();

    // Opens or creates the store at `path`, creating its folder when needed.
    static StoreResult<std::unique_ptr<ModelContainer>> open(const QString& path);

    ~ModelContainer();
    ModelContainer(const ModelContainer&) = delete;
    ModelContainer& operator=(const ModelContainer&) = delete;

    const QString& path() const { return path_; }
    // The one context the system works on, main thread only.
    ModelContext& mainContext() { return *mainContext_; }

private:
    ModelContainer(QString path, QString connectionName);

    QString path_;
    QString connectionName_;
    std::unique_ptr<ModelContext> mainContext_;
};

} // namespace vesk
