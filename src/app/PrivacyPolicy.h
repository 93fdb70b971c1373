#pragma once

#include <QUrl>

#include <optional>

namespace vesk {

// The privacy-policy page, built once; none if the address does not parse.
const std::optional<QUrl>& privacyPolicyURL();

} // namespace vesk
