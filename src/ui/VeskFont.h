#pragma once

#include <QFont>

namespace vesk {

// The two typefaces of Vesk's interface, asked for by family name so that
// every machine with the Debian fonts renders the same: Inter (fonts-inter)
// for all interface text, DejaVu Sans Mono (fonts-dejavu-core) for numbers
// that must not jump, such as countdowns.
//
// Sizes are in points, and one point is one logical pixel, as on the platform
// the layouts were drawn for; the weights are QFont's (Light, Normal, Medium,
// DemiBold for semibold, Bold).
class VeskFont {
public:
    static inline const QString interfaceFamily = QStringLiteral("Inter");
    static inline const QString monospacedFamily = QStringLiteral("DejaVu Sans Mono");

    static QFont interface(double pointSize, QFont::Weight weight = QFont::Normal);
    static QFont monospaced(double pointSize, QFont::Weight weight = QFont::Normal);

    // The same font at another size in points (keeps family, weight, tracking).
    static QFont resized(const QFont& font, double pointSize);
    // The size in points of a font made here.
    static double pointSize(const QFont& font);

    // Whether both families are installed.
    static bool areInstalled();
};

} // namespace vesk
