#pragma once

#include "FakeSession.h"
#include "LogCapture.h"
#include "core/ManualScheduler.h"
#include "enforcement/InstalledApp.h"

#include <QAbstractButton>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace vesk::test {

// What the in-session views need in a test: virtual time, a scripted session,
// a few installed applications with drawn icons, and a capture of the log.
class PanelsFixture : public ::testing::Test {
protected:
    static InstalledApp app(const QString& id, const QString& name, QColor color)
    {
        QImage icon(InstalledApp::iconSize, InstalledApp::iconSize, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        QPainter painter(&icon);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(color);
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(0, 0, icon.width(), icon.height()), 7, 7);
        painter.setBrush(color.lighter(160));
        painter.drawEllipse(QRectF(9, 9, 14, 14));
        return {id, name, icon, QUrl::fromLocalFile("/Applications/" + name + ".app")};
    }

    static std::vector<InstalledApp> installedApps()
    {
        return {app("com.example.browser", "Browser", QColor(64, 132, 230)),
                app("com.example.mail", "Mail", QColor(60, 170, 230)),
                app("com.example.notes", "Notes", QColor(240, 200, 60)),
                app("com.example.terminal", "Terminal", QColor(60, 60, 60)),
                app("com.example.writer", "Writer", QColor(220, 90, 60))};
    }

    // A left click in the middle of the widget, as the user gives it.
    static void click(QWidget* widget, QPoint at = QPoint(-1, -1))
    {
        ASSERT_NE(widget, nullptr);
        ASSERT_TRUE(widget->isVisibleTo(widget->window())) << widget->metaObject()->className();
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at.x() < 0 ? widget->rect().center() : at);
    }

    // The widget over the panels' usual dark desktop, into the build folder.
    static void render(QWidget& widget, const QString& name)
    {
        QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
        const qreal scale = 2;
        QImage image((widget.size() + QSize(40, 40)) * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(QColor(38, 40, 46));
        QPainter painter(&image);
        widget.render(&painter, QPoint(20, 20), QRegion(), QWidget::DrawChildren);
        painter.end();
        ASSERT_TRUE(image.save(QStringLiteral(VESK_GALLERY_DIR "/%1.png").arg(name)));
    }

    ManualScheduler scheduler;
    FakeSession session;
    LogCapture log;
};

} // namespace vesk::test
