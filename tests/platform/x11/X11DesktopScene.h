#pragma once

#include "X11TestServer.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11WindowCache.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vesk::platform::testing {

// A test on a real X server with a window manager: Xvfb and openbox of its
// own (skipped when they are missing), an own connection to it and the
// window cache over that connection. Waits are bounded turns of the event
// loop until the X state is as expected.
class X11DesktopScene : public ::testing::Test {
protected:
    static constexpr int screenWidth = 1280;
    static constexpr int screenHeight = 800;

    void SetUp() override
    {
        if (const QString missing = X11TestServer::missingTools(); !missing.isEmpty())
            GTEST_SKIP() << "Missing " << missing.toStdString() << " (scripts/deps.sh installs them)";
        ASSERT_TRUE(server.start(screenWidth, screenHeight)) << server.error().toStdString();
        connection = X11Connection::open(server.display());
        ASSERT_TRUE(connection) << "no connection to " << server.display().toStdString();
        cache = std::make_unique<X11WindowCache>(*connection);
        ASSERT_TRUE(waitFor([&] { return cache->hasWindowManager(); })) << "openbox did not come up";
        ASSERT_TRUE(waitFor([&] { return cache->windows().empty(); })) << "the server's probe window stayed";
    }

    void TearDown() override
    {
        cache.reset();
        connection.reset();
    }

    static bool waitFor(const std::function<bool()>& condition, int timeoutMs = 15000)
    {
        return QTest::qWaitFor(condition, timeoutMs);
    }

    // Opens one window of the test client and waits until the cache lists it
    // on its desktop (mapped, unless that desktop is not shown).
    xcb_window_t openWindow(QStringList arguments)
    {
        const auto ids = server.startClient(arguments);
        if (ids.size() != 1)
            return XCB_WINDOW_NONE;
        const xcb_window_t id = ids.front();
        const bool listed = waitFor([&] {
            const X11ManagedWindow* window = cache->window(id);
            return window && window->desktop && (window->mapped || !window->isOnDesktop(cache->currentDesktop()));
        });
        return listed ? id : xcb_window_t(XCB_WINDOW_NONE);
    }

    // Runs the tests the filter names once more in a child of this test
    // executable under Qt's xcb platform on the test server, for what needs
    // Qt's own connection, and expects them all to pass.
    void runUnderQtsConnection(const QString& gtestFilter, int expectedTests) const
    {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("DISPLAY", server.display());
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=" + gtestFilter});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString output = QString::fromUtf8(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        const QString passed =
            QStringLiteral("[  PASSED  ] %1 test%2").arg(expectedTests).arg(expectedTests == 1 ? "" : "s");
        EXPECT_TRUE(output.contains(passed)) << output.toStdString();
    }

    const X11ManagedWindow& windowOf(xcb_window_t id) const
    {
        static const X11ManagedWindow none;
        const X11ManagedWindow* window = cache->window(id);
        return window ? *window : none;
    }

    X11TestServer server;
    std::unique_ptr<X11Connection> connection;
    std::unique_ptr<X11WindowCache> cache;
};

} // namespace vesk::platform::testing
