#include "platform/x11/XdgIconLookup.h"

#include "core/FileIO.h"
#include "platform/x11/XdgKeyFile.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

namespace vesk::platform {

namespace {

const QString hicolor = QStringLiteral("hicolor");
const QStringList rasterSuffixes = {QStringLiteral("png"), QStringLiteral("xpm")};
const QString svgSuffix = QStringLiteral("svg");
// Themes named in a chain of Inherits; a longer chain is a loop or a mistake.
constexpr int maximumThemes = 12;

// The folders an icon base holds: ~/.icons, then each data folder's "icons".
QStringList iconBaseFolders(const XdgEnvironment& environment)
{
    QStringList bases;
    if (!environment.home.isEmpty())
        bases.append(QDir(environment.home).filePath(QStringLiteral(".icons")));
    for (const QString& folder : environment.dataFolders())
        bases.append(QDir(folder).filePath(QStringLiteral("icons")));
    return bases;
}

// The name an entry gives without an image suffix some entries add.
QString iconName(const QString& icon)
{
    const QString suffix = QFileInfo(icon).suffix().toLower();
    if (suffix == svgSuffix || rasterSuffixes.contains(suffix))
        return icon.left(icon.size() - suffix.size() - 1);
    return icon;
}

const QStringList imageNameFilters = {QStringLiteral("*.png"), QStringLiteral("*.xpm"), QStringLiteral("*.svg")};

// The themes a theme's index.theme names in Inherits (a comma-separated list).
QStringList inheritedThemes(const XdgEnvironment& environment, const QString& theme)
{
    for (const QString& base : iconBaseFolders(environment)) {
        const InputFileContents index = readInputFile(QDir(base).filePath(theme + QStringLiteral("/index.theme")));
        if (!index.ok())
            continue;
        const auto file = XdgKeyFile::parse(index.data);
        const auto* parsed = std::get_if<XdgKeyFile>(&file);
        if (!parsed)
            return {};
        return parsed->string(QStringLiteral("Icon Theme"), QStringLiteral("Inherits"))
            .value_or(QString())
            .split(QLatin1Char(','), Qt::SkipEmptyParts);
    }
    return {};
}

int longerSide(const QString& file)
{
    const QSize size = QImageReader(file).size();
    return size.isValid() ? std::max(size.width(), size.height()) : 0;
}

// Of one theme's files for an icon: the largest PNG (or XPM) when it is at
// least `side`, else an SVG, else the largest image.
QString best(const QStringList& files, int side)
{
    QString largest;
    int largestSide = 0;
    QString svg;
    for (const QString& file : files) {
        if (QFileInfo(file).suffix() == svgSuffix) {
            if (svg.isEmpty())
                svg = file;
            continue;
        }
        const int fileSide = longerSide(file);
        if (fileSide > largestSide) {
            largest = file;
            largestSide = fileSide;
        }
    }
    if (!largest.isEmpty() && largestSide >= side)
        return largest;
    return svg.isEmpty() ? largest : svg;
}

QImage fitted(const QImage& image, int side)
{
    QImage canvas(side, side, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    const QImage scaled = image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&canvas);
    painter.drawImage((side - scaled.width()) / 2, (side - scaled.height()) / 2, scaled);
    return canvas;
}

QImage renderedSvg(const QByteArray& data, int side)
{
    QSvgRenderer renderer(data);
    if (!renderer.isValid())
        return {};
    QSizeF size = renderer.defaultSize();
    if (size.isEmpty())
        size = QSizeF(side, side);
    size.scale(side, side, Qt::KeepAspectRatio);
    QImage canvas(side, side, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter,
                    QRectF((side - size.width()) / 2, (side - size.height()) / 2, size.width(), size.height()));
    return canvas;
}

} // namespace

QString XdgIconLookup::iconFile(const QString& icon, int side) const
{
    if (icon.isEmpty())
        return {};
    if (QDir::isAbsolutePath(icon))
        return QFileInfo(icon).isFile() ? icon : QString();
    if (icon.contains(QLatin1Char('/')))
        return {};
    const QString name = iconName(icon);
    QStringList places = themeChain();
    places.append(QString()); // the pixmaps folders
    for (const QString& place : places) {
        const IconIndex& files = index(place);
        const auto found = files.find(name);
        if (found != files.end())
            return best(found->second, side);
    }
    return {};
}

QImage XdgIconLookup::image(const QString& icon, int side) const
{
    const QString file = iconFile(icon, side);
    return file.isEmpty() ? QImage() : render(file, side);
}

QImage XdgIconLookup::render(const QString& file, int side)
{
    const InputFileContents contents = readInputFile(file, maximumFileBytes);
    if (!contents.ok() || side <= 0)
        return {};
    if (QFileInfo(file).suffix().toLower() == svgSuffix)
        return renderedSvg(contents.data, side);
    const QImage image = QImage::fromData(contents.data);
    return image.isNull() ? QImage() : fitted(image, side);
}

QStringList XdgIconLookup::themeChain() const
{
    {
        std::lock_guard lock(mutex_);
        if (themeChain_)
            return *themeChain_;
    }
    QStringList chain;
    QStringList pending;
    if (!environment_.iconTheme.isEmpty())
        pending.append(environment_.iconTheme);
    while (!pending.isEmpty() && chain.size() < maximumThemes) {
        const QString theme = pending.takeFirst();
        if (theme == hicolor || chain.contains(theme) || theme.contains(QLatin1Char('/')))
            continue;
        chain.append(theme);
        pending.append(inheritedThemes(environment_, theme));
    }
    chain.append(hicolor);
    std::lock_guard lock(mutex_);
    themeChain_ = chain;
    return chain;
}

QStringList XdgIconLookup::themeFolders(const QString& theme) const
{
    // Themes keep icons two levels down ("48x48/apps", "scalable/apps").
    QStringList folders;
    for (const QString& base : iconBaseFolders(environment_)) {
        const QDir themeFolder(QDir(base).filePath(theme));
        for (const QString& size : themeFolder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const QDir sizeFolder(themeFolder.filePath(size));
            folders.append(sizeFolder.path());
            for (const QString& context : sizeFolder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
                folders.append(sizeFolder.filePath(context));
        }
    }
    return folders;
}

QStringList XdgIconLookup::pixmapFolders() const
{
    QStringList folders;
    for (const QString& folder : environment_.dataFolders())
        folders.append(QDir(folder).filePath(QStringLiteral("pixmaps")));
    return folders;
}

const XdgIconLookup::IconIndex& XdgIconLookup::index(const QString& theme) const
{
    {
        std::lock_guard lock(mutex_);
        const auto made = indexes_.find(theme);
        if (made != indexes_.end())
            return made->second;
    }
    IconIndex files;
    for (const QString& folder : theme.isEmpty() ? pixmapFolders() : themeFolders(theme)) {
        const QDir directory(folder);
        for (const QString& file : directory.entryList(imageNameFilters, QDir::Files, QDir::Name))
            files[QFileInfo(file).completeBaseName()].append(directory.filePath(file));
    }
    // Entries are never removed: a reference stays valid for the object's life.
    std::lock_guard lock(mutex_);
    return indexes_.try_emplace(theme, std::move(files)).first->second;
}

} // namespace vesk::platform
