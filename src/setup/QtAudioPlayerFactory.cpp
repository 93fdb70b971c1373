#include "setup/QtAudioPlayerFactory.h"

#include "setup/QtAudioPlayer.h"

#include <QFile>
#include <QFileInfo>

namespace vesk {

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
    return {std::make_shared<QtAudioPlayer>(data, QFileInfo(filePath).fileName()), {}};
}

} // namespace vesk
