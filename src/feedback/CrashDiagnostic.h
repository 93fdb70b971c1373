#pragma once

#include <QByteArray>

#include <optional>

namespace vesk {

// One diagnostic payload worth reporting: its crash and hang counts and its
// own JSON.
struct CrashDiagnostic {
    int crashCount = 0;
    int hangCount = 0;
    QByteArray json;

    // Counts the "crashDiagnostics" and "hangDiagnostics" entries of a payload;
    // none when it has neither (or is not a JSON object).
    static std::optional<CrashDiagnostic> fromPayload(const QByteArray& payload);
};

} // namespace vesk
