#include "enforcement/DockPreferenceValue.h"

#include "enforcement/TaggedCase.h"

#include <cmath>
#include <locale.h>
#include <stdlib.h>

namespace vesk {

namespace {

const QString boolCase = QStringLiteral("bool");
const QString floatCase = QStringLiteral("float");
const QString rawCase = QStringLiteral("raw");

// The whole text as a number in the C conversion, whatever the process's locale.
std::optional<double> wholeNumber(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    static const locale_t cLocale = ::newlocale(LC_NUMERIC_MASK, "C", locale_t(0));
    const QByteArray bytes = text.toUtf8();
    char* end = nullptr;
    const double number = ::strtod_l(bytes.constData(), &end, cLocale);
    if (end != bytes.constData() + bytes.size())
        return std::nullopt;
    return number;
}

} // namespace

DockPreferenceValue DockPreferenceValue::parse(const QString& output, const DockPreferenceValue& expectedKind)
{
    const QString trimmed = output.trimmed();
    if (expectedKind.isBool()) {
        const QString lowered = trimmed.toLower();
        if (lowered == QLatin1String("1") || lowered == QLatin1String("true") || lowered == QLatin1String("yes"))
            return {true};
        if (lowered == QLatin1String("0") || lowered == QLatin1String("false") || lowered == QLatin1String("no"))
            return {false};
    } else if (expectedKind.isFloat()) {
        if (const std::optional<double> number = wholeNumber(trimmed))
            return {*number};
    }
    return {trimmed};
}

QString DockPreferenceValue::description() const
{
    if (const bool* value = std::get_if<bool>(&payload))
        return *value ? QStringLiteral("true") : QStringLiteral("false");
    if (const double* value = std::get_if<double>(&payload))
        return QString::asprintf("%g", *value);
    return std::get<QString>(payload);
}

QStringList DockPreferenceValue::writeArguments() const
{
    if (isBool())
        return {QStringLiteral("-bool"), description()};
    if (isFloat())
        return {QStringLiteral("-float"), description()};
    return {description()};
}

std::variant<QJsonObject, QString> DockPreferenceValue::toJson(const QString& codingPath) const
{
    if (const bool* value = std::get_if<bool>(&payload))
        return TaggedCase::withValue(boolCase, *value);
    if (const double* value = std::get_if<double>(&payload)) {
        if (!std::isfinite(*value)) {
            return TaggedCase::failure(QStringLiteral("Unable to encode %1 directly in JSON.").arg(description()),
                                       TaggedCase::path(codingPath, floatCase));
        }
        return TaggedCase::withValue(floatCase, *value);
    }
    return TaggedCase::withValue(rawCase, std::get<QString>(payload));
}

std::variant<DockPreferenceValue, QString> DockPreferenceValue::fromJson(const QJsonValue& json,
                                                                         const QString& codingPath)
{
    const auto decoded = TaggedCase::decode(json, codingPath);
    if (const QString* failure = std::get_if<QString>(&decoded))
        return *failure;
    const TaggedCase& tagged = std::get<TaggedCase>(decoded);
    if (tagged.name != boolCase && tagged.name != floatCase && tagged.name != rawCase)
        return TaggedCase::failure(QStringLiteral("Unknown case \"%1\".").arg(tagged.name), codingPath);
    const auto inner = tagged.value(codingPath);
    if (const QString* failure = std::get_if<QString>(&inner))
        return *failure;
    const QJsonValue& value = std::get<QJsonValue>(inner);
    const QString valuePath = TaggedCase::path(TaggedCase::path(codingPath, tagged.name), QStringLiteral("_0"));
    if (tagged.name == boolCase) {
        if (!value.isBool())
            return TaggedCase::failure(QStringLiteral("Expected to decode a boolean."), valuePath);
        return DockPreferenceValue{value.toBool()};
    }
    if (tagged.name == floatCase) {
        if (!value.isDouble())
            return TaggedCase::failure(QStringLiteral("Expected to decode a number."), valuePath);
        return DockPreferenceValue{value.toDouble()};
    }
    if (!value.isString())
        return TaggedCase::failure(QStringLiteral("Expected to decode a string."), valuePath);
    return DockPreferenceValue{value.toString()};
}

} // namespace vesk
