#pragma once

#include "platform/x11/XdgEnvironment.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <map>
#include <mutex>
#include <optional>

namespace vesk::platform {

// Finds and draws the icon a desktop entry names: an absolute path is the
// file itself; a name is looked up in the current icon theme, the themes it
// inherits and hicolor (under ~/.icons and each data folder's "icons"), then
// in each data folder's "pixmaps". Within a theme a PNG at least as large as
// asked for wins (the largest), then an SVG, then the largest image there is.
// Each theme's folders are listed once, on its first lookup, so that a lookup
// object sees the icons installed when it was first asked: make a new one to
// see later ones.
class XdgIconLookup {
public:
    explicit XdgIconLookup(XdgEnvironment environment) : environment_(std::move(environment)) { }

    // The icon's file; empty when there is none.
    QString iconFile(const QString& icon, int side) const;
    // The icon drawn into a side × side square, kept in proportion and
    // centred on a clear ground; a null image when there is none or the file
    // cannot be read as an image.
    QImage image(const QString& icon, int side) const;
    // A file drawn the same way.
    static QImage render(const QString& file, int side);

    // Icon files larger than this are not read.
    static constexpr qint64 maximumFileBytes = 8 * 1024 * 1024;

private:
    // The image files of a theme (or of the pixmaps folders) by icon name.
    using IconIndex = std::map<QString, QStringList>;

    // The themes to search, the current one first and hicolor last.
    QStringList themeChain() const;
    // The folders of one theme that may hold icons, in every base folder.
    QStringList themeFolders(const QString& theme) const;
    QStringList pixmapFolders() const;
    // The theme's index, made on first use; "" is the pixmaps folders'.
    const IconIndex& index(const QString& theme) const;

    XdgEnvironment environment_;
    mutable std::mutex mutex_;
    mutable std::optional<QStringList> themeChain_;
    mutable std::map<QString, IconIndex> indexes_;
};

} // namespace vesk::platform
