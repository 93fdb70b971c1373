#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <variant>

namespace vesk {

// A value of a Dock setting as "/usr/bin/defaults" reads and writes it: a
// boolean, a floating-point number, or text that was neither.
struct DockPreferenceValue {
    std::variant<bool, double, QString> payload;

    bool isBool() const { return std::holds_alternative<bool>(payload); }
    bool isFloat() const { return std::holds_alternative<double>(payload); }

    // What the tool printed for a key, read as the kind of `expectedKind`:
    // "1"/"true"/"yes" and "0"/"false"/"no" (any case) for a boolean, a
    // number that is the whole text (C conversion) for a float, else the
    // trimmed text.
    static DockPreferenceValue parse(const QString& output, const DockPreferenceValue& expectedKind);

    // "true"/"false", the number in "%g" (at most six significant digits:
    // 1000 for 1000.0, 0.123457 for 0.123456789), or the text.
    QString description() const;
    // The arguments after the key of "defaults write": "-bool true",
    // "-float <%g>", or the text alone, which the tool stores as text.
    QStringList writeArguments() const;

    // {"bool":{"_0":false}}, {"float":{"_0":1000}}, {"raw":{"_0":"2"}}; the
    // reason when the value has no JSON form (an infinite or undefined number).
    std::variant<QJsonObject, QString> toJson(const QString& codingPath) const;
    static std::variant<DockPreferenceValue, QString> fromJson(const QJsonValue& json, const QString& codingPath);

    bool operator==(const DockPreferenceValue&) const = default;
};

} // namespace vesk
