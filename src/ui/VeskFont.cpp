#include "ui/VeskFont.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

namespace vesk {

namespace {

// Qt sizes fonts in typographic points at the screen's logical DPI; Vesk's
// points are logical pixels.
double logicalDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

QFont makeFont(const QString& family, double pointSize, QFont::Weight weight)
{
    QFont font(family);
    font.setStyleHint(family == VeskFont::monospacedFamily ? QFont::Monospace : QFont::SansSerif);
    font.setWeight(weight);
    font.setKerning(true);
    return VeskFont::resized(font, pointSize);
}

} // namespace

QFont VeskFont::interface(double pointSize, QFont::Weight weight)
{
    return makeFont(interfaceFamily, pointSize, weight);
}

QFont VeskFont::monospaced(double pointSize, QFont::Weight weight)
{
    return makeFont(monospacedFamily, pointSize, weight);
}

QFont VeskFont::resized(const QFont& font, double pointSize)
{
    QFont result = font;
    result.setPointSizeF(pointSize * 72.0 / logicalDpi());
    return result;
}

double VeskFont::pointSize(const QFont& font)
{
    return font.pointSizeF() * logicalDpi() / 72.0;
}

bool VeskFont::areInstalled()
{
    return QFontDatabase::hasFamily(interfaceFamily) && QFontDatabase::hasFamily(monospacedFamily);
}

} // namespace vesk
