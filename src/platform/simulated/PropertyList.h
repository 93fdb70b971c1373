#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

namespace vesk::platform {

// XML property lists: dictionaries (QVariantMap), arrays (QVariantList),
// strings, integers, reals, booleans, dates and data.
class PropertyList {
public:
    static QByteArray toXml(const QVariant& root);
    // None when the text is not a well-formed property list; `error` says why.
    static std::optional<QVariant> fromXml(const QByteArray& xml, QString* error = nullptr);
};

} // namespace vesk::platform
