#include "setup/QtAudioPlayerFactory.h"

#include "setup/QtAudioPlayer.h"

#include <QAudioDevice>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaFormat>
#include <QMimeDatabase>

namespace vesk {

namespace {

QStringList systemDecodableMimeTypes()
{
    QStringList types;
    for (const QMediaFormat::FileFormat format : QMediaFormat().supportedFileFormats(QMediaFormat::Decode))
        types << QMediaFormat(format).mimeType().name();
    return types;
}

} // namespace

std::optional<QString> QtAudioPlayerFactory::playbackObstacle(bool hasAudioOutput,
                                                              const QStringList& decodableMimeTypes,
                                                              const QString& mimeType)
{
    if (!hasAudioOutput)
        return QStringLiteral("No audio output device.");
    if (!decodableMimeTypes.contains(mimeType))
        return QStringLiteral("No decoder for ") + mimeType + QStringLiteral(".");
    return std::nullopt;
}

AudioPlayerResult QtAudioPlayerFactory::makePlayer(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        return {nullptr, file.errorString()};
    }
    const QByteArray data = file.readAll();
    if (data.isEmpty()) {
        return {nullptr, QStringLiteral("The file is empty.")};
    }
    const QString mimeType = QMimeDatabase().mimeTypeForFileNameAndData(filePath, data).name();
    if (const std::optional<QString> obstacle =
            playbackObstacle(!QMediaDevices::defaultAudioOutput().isNull(), systemDecodableMimeTypes(), mimeType)) {
        return {nullptr, *obstacle};
    }
    return {std::make_shared<QtAudioPlayer>(data, QFileInfo(filePath).fileName()), {}};
}

} // namespace vesk
