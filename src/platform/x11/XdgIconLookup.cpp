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

int longerSide(const QString& file)
{
    const QSize size = QImageReader(file).size();
    return size.isValid() ? std::max(size.width(), size.height()) : 0;
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
    for (const QString& theme : themeChain()) {
        const QString found = bestIn(themeFolders(theme), name, side);
        if (!found.isEmpty())
            return found;
    }
    QStringList pixmaps;
    for (const QString& folder : environment_.dataFolders())
        pixmaps.append(QDir(folder).filePath(QStringLiteral("pixmaps")));
    return bestIn(pixmaps, name, side);
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
    QStringList chain;
    QStringList pending;
    if (!environment_.iconTheme.isEmpty())
        pending.append(environment_.iconTheme);
    while (!pending.isEmpty() && chain.size() < maximumThemes) {
        const QString theme = pending.takeFirst();
        if (theme == hicolor || chain.contains(theme) || theme.contains(QLatin1Char('/')))
            continue;
        chain.append(theme);
        for (const QString& base : iconBaseFolders(environment_)) {
            const InputFileContents index = readInputFile(QDir(base).filePath(theme + QStringLiteral("/index.theme")));
            if (!index.ok())
                continue;
            const auto file = XdgKeyFile::parse(index.data);
            // Inherits is a comma-separated list.
            if (const auto* parsed = std::get_if<XdgKeyFile>(&file))
                pending.append(parsed->string(QStringLiteral("Icon Theme"), QStringLiteral("Inherits"))
                                   .value_or(QString())
                                   .split(QLatin1Char(','), Qt::SkipEmptyParts));
            break;
        }
    }
    chain.append(hicolor);
    return chain;
}

const QStringList& XdgIconLookup::themeFolders(const QString& theme) const
{
    std::lock_guard lock(mutex_);
    const auto cached = themeFolders_.find(theme);
    if (cached != themeFolders_.end())
        return cached->second;
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
    return themeFolders_.emplace(theme, folders).first->second;
}

QString XdgIconLookup::bestIn(const QStringList& folders, const QString& name, int side) const
{
    QString largest;
    int largestSide = 0;
    QString svg;
    for (const QString& folder : folders) {
        const QDir directory(folder);
        for (const QString& suffix : rasterSuffixes) {
            const QString file = directory.filePath(name + QLatin1Char('.') + suffix);
            if (!QFileInfo(file).isFile())
                continue;
            const int fileSide = longerSide(file);
            if (fileSide > largestSide) {
                largest = file;
                largestSide = fileSide;
            }
        }
        const QString vector = directory.filePath(name + QLatin1Char('.') + svgSuffix);
        if (svg.isEmpty() && QFileInfo(vector).isFile())
            svg = vector;
    }
    if (!largest.isEmpty() && largestSide >= side)
        return largest;
    return svg.isEmpty() ? largest : svg;
}

} // namespace vesk::platform
