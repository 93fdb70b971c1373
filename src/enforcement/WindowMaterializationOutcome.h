#pragma once

#include <QString>

namespace vesk {

// What a request for a new window of an application on another Space gave.
struct WindowMaterializationOutcome {
    enum class Kind { requested, unsupported, failed };

    Kind kind = Kind::unsupported;
    // Why it failed; empty otherwise.
    QString message;

    static WindowMaterializationOutcome requested() { return {Kind::requested, {}}; }
    static WindowMaterializationOutcome unsupported() { return {Kind::unsupported, {}}; }
    static WindowMaterializationOutcome failed(QString message) { return {Kind::failed, std::move(message)}; }

    // "requested", "unsupported" or "failed(<message>)".
    QString text() const;

    bool operator==(const WindowMaterializationOutcome&) const = default;
};

} // namespace vesk
