#include "stage/StageVeskAppState.h"

#include <QTimeZone>

#include <cmath>
#include <limits>

namespace vesk {

namespace {

const QDateTime& referenceDate()
{
    static const QDateTime date(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return date;
}

bool isWholeNumber(const QJsonValue& value, double lowest, double highest)
{
    if (!value.isDouble())
        return false;
    const double number = value.toDouble();
    return number == std::trunc(number) && number >= lowest && number <= highest;
}

// A present key must hold a valid value; a missing one is no value.
template <typename T, typename Read>
bool readOptional(const QJsonObject& object, const char* key, std::optional<T>& out, Read read)
{
    if (!object.contains(key))
        return true;
    out = read(object.value(key));
    return out.has_value();
}

std::optional<StageVeskScreenID> readScreenID(const QJsonValue& value)
{
    if (!isWholeNumber(value, 0, std::numeric_limits<quint32>::max()))
        return std::nullopt;
    return StageVeskScreenID{static_cast<quint32>(value.toDouble())};
}

std::optional<StageVeskWindowPosition> readPosition(const QJsonValue& value)
{
    return value.isObject() ? StageVeskWindowPosition::fromJson(value.toObject()) : std::nullopt;
}

std::optional<int> readSlot(const QJsonValue& value)
{
    if (!isWholeNumber(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()))
        return std::nullopt;
    return static_cast<int>(value.toDouble());
}

} // namespace

QJsonObject StageVeskAppState::toJson() const
{
    QJsonObject object{{"bundleID", bundleID},
                       {"displayName", displayName},
                       {"isOpen", isOpen},
                       {"isParked", isParked},
                       {"lastTouched", referenceDate().msecsTo(lastTouched) / 1000.0}};
    if (slot)
        object.insert("slot", *slot);
    if (position)
        object.insert("position", position->toJson());
    if (screenID)
        object.insert("screenID", static_cast<double>(screenID->rawValue));
    if (savedPosition)
        object.insert("savedPosition", savedPosition->toJson());
    if (savedScreenID)
        object.insert("savedScreenID", static_cast<double>(savedScreenID->rawValue));
    return object;
}

std::optional<StageVeskAppState> StageVeskAppState::fromJson(const QJsonObject& object)
{
    if (!object.value("bundleID").isString() || !object.value("displayName").isString()
        || !object.value("isOpen").isBool() || !object.value("isParked").isBool()
        || !object.value("lastTouched").isDouble())
        return std::nullopt;
    StageVeskAppState state;
    state.bundleID = object.value("bundleID").toString();
    state.displayName = object.value("displayName").toString();
    state.isOpen = object.value("isOpen").toBool();
    state.isParked = object.value("isParked").toBool();
    state.lastTouched = referenceDate().addMSecs(std::llround(object.value("lastTouched").toDouble() * 1000));
    const bool optionalsRead = readOptional(object, "slot", state.slot, readSlot)
                               && readOptional(object, "position", state.position, readPosition)
                               && readOptional(object, "screenID", state.screenID, readScreenID)
                               && readOptional(object, "savedPosition", state.savedPosition, readPosition)
                               && readOptional(object, "savedScreenID", state.savedScreenID, readScreenID);
    if (!optionalsRead)
        return std::nullopt;
    return state;
}

} // namespace vesk
