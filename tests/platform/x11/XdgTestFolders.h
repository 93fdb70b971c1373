#pragma once

#include "QtPrinters.h"
#include "platform/x11/XdgEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vesk::platform::testing {

// A home with a data home, two data folders and a folder of programs, all in
// a temporary folder; the environment names them and nothing of the machine.
class XdgTestFolders {
public:
    XdgTestFolders() { EXPECT_TRUE(root.isValid()); }

    QString path(const QString& relative) const { return root.filePath(relative); }

    // Writes a file below the root, making its folders.
    QString write(const QString& relative, const QByteArray& contents) const
    {
        const QString file = path(relative);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
        out.write(contents);
        return file;
    }

    // A shell script in bin/ that the search path finds.
    QString program(const QString& name, const QByteArray& script = "#!/bin/sh\nexit 0\n") const
    {
        const QString file = write(QStringLiteral("bin/") + name, script);
        QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return file;
    }

    // An application entry in a data folder ("home", "local" or "system").
    QString entry(const QString& dataFolder, const QString& relative, const QByteArray& body) const
    {
        return write(dataFolder + QStringLiteral("/applications/") + relative, "[Desktop Entry]\n" + body);
    }

    QString png(const QString& relative, int side) const
    {
        const QString file = path(relative);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(Qt::red);
        EXPECT_TRUE(image.save(file, "PNG"));
        return file;
    }

    XdgEnvironment environment() const
    {
        XdgEnvironment environment;
        environment.home = path(QStringLiteral("user"));
        environment.dataHome = path(QStringLiteral("home"));
        environment.dataDirs = {path(QStringLiteral("local")), path(QStringLiteral("system"))};
        environment.executableSearchPath = {path(QStringLiteral("bin"))};
        return environment;
    }

    QTemporaryDir root;
};

} // namespace vesk::platform::testing
