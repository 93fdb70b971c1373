#pragma once

#include <QString>
#include <QStringList>

#include <compare>
#include <optional>

namespace vesk {

// A release's version as the update feed and the running build name it:
// dot-separated whole numbers ("1.10.2"), optionally followed by "-" and a
// pre-release label ("2.0-rc1"). Numbers compare as numbers of any length,
// missing parts count as 0 ("1.0" equals "1.0.0"), and a pre-release is older
// than the release itself ("2.0-rc1" < "2.0"). Labels compare piece by piece:
// runs of digits as numbers, runs of other characters as text, and a label
// that is the beginning of another is the older ("rc" < "rc1" < "rc2" < "rc10").
class UpdateVersion {
public:
    // None when the text is not such a version.
    static std::optional<UpdateVersion> parse(const QString& text);

    std::strong_ordering operator<=>(const UpdateVersion& other) const;
    bool operator==(const UpdateVersion& other) const { return (*this <=> other) == 0; }

private:
    // Each number without its leading zeros.
    QStringList numbers_;
    // The label's runs of digits (without leading zeros) and of other characters.
    QStringList preRelease_;
};

} // namespace vesk
