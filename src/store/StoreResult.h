#pragma once

#include <QString>

#include <utility>
#include <variant>

namespace vesk {

// A failure of the stored-data layer (opening the store, fetching, saving,
// decoding a stored value). The description is what callers log.
struct StoreError {
    QString description;
};

// The outcome of a store operation: a value or a StoreError. StoreResult<> is
// the outcome of an operation that returns nothing.
template <typename T = std::monostate>
class [[nodiscard]] StoreResult {
public:
    StoreResult() requires std::is_same_v<T, std::monostate>
    = default;
    StoreResult(T value) : outcome_(std::move(value)) { }
    StoreResult(StoreError error) : outcome_(std::move(error)) { }

    bool ok() const { return std::holds_alternative<T>(outcome_); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<T>(outcome_); }
    T&& value() && { return std::get<T>(std::move(outcome_)); }
    const StoreError& error() const { return std::get<StoreError>(outcome_); }

private:
    std::variant<T, StoreError> outcome_;
};

} // namespace vesk
