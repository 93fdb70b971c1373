#pragma once

#include "store/ModelColumn.h"
#include "store/StoreResult.h"

#include <QDateTime>
#include <QStringList>
#include <QUuid>
#include <QVariantList>

#include <vector>

namespace vesk {

// A named allowlist. Part of the store's schema; nothing creates or reads
// presets yet, so the table stays empty.
struct AllowlistPreset {
    QUuid id;
    QString name;
    QStringList appBundleIDs;
    QDateTime createdAt;

    static const char* tableName() { return "AllowlistPreset"; }
    static const std::vector<ModelColumn>& columns();
    QVariantList toColumns() const;
    static StoreResult<AllowlistPreset> fromColumns(const QVariantList& values);
};

} // namespace vesk
