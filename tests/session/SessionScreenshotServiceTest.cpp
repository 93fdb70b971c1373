#include "session/SessionScreenshotService.h"
#include "core/FileIO.h"
#include "core/ManualScheduler.h"
#include "platform/simulated/DesktopScreenCapturer.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "session/CompositeDisplayScreenshotCapturer.h"
#include "session/UserDesktopDirectoryProvider.h"

#include "DesktopSpecs.h"
#include "LogCapture.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

// A capturer that counts its calls and hands out a fixed image.
class CountingCapturer final : public SessionScreenshotImageCapturing {
public:
    explicit CountingCapturer(QImage image) : image_(std::move(image)) { }
    QImage captureImage() const override
    {
        ++calls;
        return image_;
    }
    mutable int calls = 0;

private:
    QImage image_;
};

class NoDesktopFolder final : public SessionScreenshotDirectoryProviding {
public:
    std::optional<QString> desktopDirectory() const override { return std::nullopt; }
};

// A simulated desktop in virtual time: a 1440 × 900 display (its visible
// frame below the menu bar) and, right of it with the top edges level, a
// lower one of 1280 × 720, with the editor in front. A marker window sits in
// the top-left corner of each display.
class SessionScreenshotServiceTest : public ::testing::Test {
protected:
    SessionScreenshotServiceTest()
    {
        platform::DisplaySpec main = test::display(1, QRectF(0, 0, 1440, 900));
        main.visibleFrame = QRectF(0, 0, 1440, 875);
        desktop.addDisplay(main);
        platform::ApplicationSpec editor;
        editor.bundleIdentifier = QStringLiteral("com.example.editor");
        desktop.activate(desktop.addRunningApplication(editor), 0);
        desktop.addDisplay(test::display(2, QRectF(1440, 0, 1280, 720)));
        platform::ApplicationSpec markers;
        markers.bundleIdentifier = QStringLiteral("com.example.marker");
        markers.windows = {windowAt(QRectF(0, 0, 200, 100)), windowAt(QRectF(1440, 0, 200, 100))};
        desktop.addRunningApplication(markers);
        setFileWriteFaultInjector({});
    }
    ~SessionScreenshotServiceTest() override { setFileWriteFaultInjector({}); }

    static platform::WindowSpec windowAt(QRectF quartzBounds)
    {
        platform::WindowSpec spec;
        spec.title = QStringLiteral("Marker");
        spec.bounds = quartzBounds;
        return spec;
    }

    std::unique_ptr<CompositeDisplayScreenshotCapturer> displayCapturer()
    {
        return std::make_unique<CompositeDisplayScreenshotCapturer>(desktop.interfaces().screens,
                                                                    desktop.interfaces().screenCapture);
    }

    test::LogCapture logs;
    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.path()};

    QString desktopFolder() const { return root.filePath(QStringLiteral("Desktop")); }
    const QDateTime requestDate = QDateTime(QDate(2026, 3, 8), QTime(14, 3, 9));
    const QRgb marker = platform::DesktopScreenCapturer::windowColour(QStringLiteral("com.example.marker")).rgb();
};

} // namespace

TEST_F(SessionScreenshotServiceTest, SavesBothDisplaysUprightWithTheGapBelowTheSmallerOneBlack)
{
    SessionScreenshotService service(displayCapturer(),
                                     std::make_unique<UserDesktopDirectoryProvider>(desktopFolder()));
    const SessionScreenshotCapturing::Result result = service.captureAndSave(requestDate);
    ASSERT_TRUE(result.filePath) << result.errorDescription.toStdString();
    EXPECT_EQ(*result.filePath,
              QDir(desktopFolder()).filePath(QStringLiteral("vesk-screenshot-2026-03-08_14-03-09.png")))
        << "the Desktop folder is created when it is missing";
    EXPECT_TRUE(logs.contains(QStringLiteral("Saved session screenshot to ") + *result.filePath));

    const QImage saved(*result.filePath, "PNG");
    ASSERT_EQ(saved.size(), QSize(2720, 900));
    // The markers stand at the top of each display: the picture is upright.
    EXPECT_EQ(saved.pixel(50, 50), marker);
    EXPECT_EQ(saved.pixel(1500, 50), marker);
    EXPECT_NE(saved.pixel(50, 850), marker);
    EXPECT_NE(saved.pixel(1500, 700), marker);
    EXPECT_EQ(saved.pixel(2000, 800), qRgb(0, 0, 0)) << "below the smaller display";
    EXPECT_EQ(saved.pixel(2719, 899), qRgb(0, 0, 0));
}

TEST_F(SessionScreenshotServiceTest, AskForTheFolderFirstAndReportEveryFailure)
{
    auto counting = std::make_unique<CountingCapturer>(QImage(10, 10, QImage::Format_ARGB32_Premultiplied));
    CountingCapturer& capturer = *counting;
    SessionScreenshotService withoutFolder(std::move(counting), std::make_unique<NoDesktopFolder>());
    const auto noFolder = withoutFolder.captureAndSave(requestDate);
    EXPECT_FALSE(noFolder.filePath);
    EXPECT_EQ(noFolder.errorDescription, QStringLiteral("Desktop directory unavailable"));
    EXPECT_EQ(capturer.calls, 0) << "nothing is captured without a folder";
    EXPECT_TRUE(logs.contains(QStringLiteral("Failed to save screenshot — Desktop directory unavailable")));

    SessionScreenshotService withoutImage(std::make_unique<CountingCapturer>(QImage()),
                                          std::make_unique<UserDesktopDirectoryProvider>(desktopFolder()));
    const auto noImage = withoutImage.captureAndSave(requestDate);
    EXPECT_EQ(noImage.errorDescription, QStringLiteral("Failed to capture screenshot"));
    EXPECT_TRUE(logs.contains(QStringLiteral("Failed to capture screenshot image")));

    setFileWriteFaultInjector([](const QString&) { return QStringLiteral("No space left on device"); });
    SessionScreenshotService fullDisk(displayCapturer(),
                                      std::make_unique<UserDesktopDirectoryProvider>(desktopFolder()));
    const auto notWritten = fullDisk.captureAndSave(requestDate);
    EXPECT_FALSE(notWritten.filePath);
    EXPECT_FALSE(notWritten.errorDescription.isEmpty());
    EXPECT_FALSE(logs.contains(QStringLiteral("Saved session screenshot")));
}

TEST_F(SessionScreenshotServiceTest, ARequestInTheSameSecondReplacesTheFile)
{
    SessionScreenshotService service(displayCapturer(),
                                     std::make_unique<UserDesktopDirectoryProvider>(desktopFolder()));
    ASSERT_TRUE(service.captureAndSave(requestDate).filePath);
    desktop.removeDisplay(1);
    const auto second = service.captureAndSave(requestDate.addMSecs(400));
    ASSERT_TRUE(second.filePath);
    EXPECT_EQ(QDir(desktopFolder()).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(QImage(*second.filePath).size(), QSize(1440, 900));
}

TEST_F(SessionScreenshotServiceTest, ADisplayWithoutCaptureIsLeftOutOfTheUnion)
{
    // The first display's bounds go; only the second one's remain.
    class SecondOnly final : public platform::ScreenCapturing {
    public:
        explicit SecondOnly(const platform::ScreenCapturing& all) : all_(all) { }
        QImage capture(int displayIndex) const override { return displayIndex == 1 ? all_.capture(1) : QImage(); }
        std::vector<QImage> captureAll() const override { return {QImage(), all_.capture(1)}; }

    private:
        const platform::ScreenCapturing& all_;
    } secondOnly(desktop.interfaces().screenCapture);
    const QImage image = CompositeDisplayScreenshotCapturer(desktop.interfaces().screens, secondOnly).captureImage();
    EXPECT_EQ(image.size(), QSize(1280, 720));
    EXPECT_EQ(image.pixel(50, 50), marker);
}
