#include "app/MainWindow.h"

#include "helpers/AppHelpers.h"
#include "overlay/DisplayGeometry.h"

#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QVBoxLayout>
#include <QWindow>

namespace vesk {

namespace {

// Centred in the visible frame of the main display.
QRectF initialCocoaFrame(const platform::ScreenProviding& screens)
{
    QRectF frame(0, 0, MainWindow::defaultWidth, MainWindow::defaultHeight);
    if (const auto main = screens.mainScreen())
        frame.moveCenter(main->visibleFrame.center());
    return frame;
}

// Widget positions are in the top-left system, the window list's frames in
// the bottom-left one; both convert through the display the window is on.
QRectF quartzFrame(const platform::ScreenProviding& screens, const QRectF& cocoaFrame)
{
    const auto geometry = DisplayGeometry::current(screens);
    if (!geometry)
        return cocoaFrame;
    const Rect rect = rectFromQRectF(cocoaFrame);
    return toQRectF(DisplayGeometry::quartzRect(rect, geometry->displayFrameForCocoaRect(rect)));
}

QRectF cocoaFrame(const platform::ScreenProviding& screens, const QRectF& quartzFrame)
{
    const auto geometry = DisplayGeometry::current(screens);
    if (!geometry)
        return quartzFrame;
    const Rect rect = rectFromQRectF(quartzFrame);
    return toQRectF(DisplayGeometry::cocoaRect(rect, geometry->displayFrameForQuartzRect(rect)));
}

} // namespace

MainWindow::MainWindow(const platform::ScreenProviding& screens, platform::OwnWindowRegistering& ownWindows,
                       QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::FramelessWindowHint)
    , screens_(screens)
    , ownWindows_(ownWindows)
{
    setWindowTitle(QStringLiteral("VESK"));
    setGeometry(quartzFrame(screens_, initialCocoaFrame(screens_)).toRect());

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    auto* title = new QLabel(QStringLiteral("VESK"), content);
    title->setAlignment(Qt::AlignCenter);
    QFont titleFont = title->font();
    titleFont.setPointSize(28);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* version = new QLabel(QStringLiteral("Version %1 (%2)").arg(appVersionString(), appBuildString()), content);
    version->setAlignment(Qt::AlignCenter);
    layout->addStretch();
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addStretch();
    // The main window's layout takes its size limits from the content.
    setCentralWidget(content);

    buildMenus();
}

MainWindow::~MainWindow()
{
    if (windowNumber_)
        ownWindows_.removeOwnWindow(*windowNumber_);
}

void MainWindow::buildMenus()
{
    QMenu* appMenu = menuBar()->addMenu(QStringLiteral("VESK"));
    aboutAction_ = appMenu->addAction(QStringLiteral("Über VESK"));
    aboutAction_->setMenuRole(QAction::AboutRole);
    // The update check follows the application's information item.
    checkForUpdatesAction_ = appMenu->addAction(QStringLiteral("Nach Updates suchen…"));
    settingsAction_ = appMenu->addAction(QStringLiteral("Einstellungen…"));
    settingsAction_->setShortcut(QKeySequence::Preferences);
    appMenu->addSeparator();
    quitAction_ = appMenu->addAction(QStringLiteral("VESK beenden"));
    quitAction_->setShortcut(QKeySequence::Quit);

    // Without a title bar these are the window's buttons.
    QMenu* windowMenu = menuBar()->addMenu(QStringLiteral("Fenster"));
    minimizeAction_ = windowMenu->addAction(QStringLiteral("Minimieren"));
    minimizeAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(minimizeAction_, &QAction::triggered, this, &QWidget::showMinimized);
    closeAction_ = windowMenu->addAction(QStringLiteral("Schließen"));
    closeAction_->setShortcut(QKeySequence::Close);
    connect(closeAction_, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    publishToDesktop(true);
    emit contentShown();
}

void MainWindow::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    publishToDesktop(false);
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (windowNumber_)
        publishToDesktop(isVisible() && !isMinimized());
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // A minimised window is off screen.
    if (event->type() == QEvent::WindowStateChange && windowNumber_)
        publishToDesktop(isVisible() && !isMinimized());
}

void MainWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QMainWindow::mousePressEvent(event);
        return;
    }
    event->accept();
    // The window system moves the window where it can; elsewhere we follow
    // the pointer ourselves.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    dragOffset_ = event->globalPosition().toPoint() - pos();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragOffset_ || !(event->buttons() & Qt::LeftButton)) {
        QMainWindow::mouseMoveEvent(event);
        return;
    }
    event->accept();
    move(event->globalPosition().toPoint() - *dragOffset_);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragOffset_.reset();
    QMainWindow::mouseReleaseEvent(event);
}

void MainWindow::publishToDesktop(bool visible)
{
    platform::OwnWindowSpec spec;
    spec.title = windowTitle();
    spec.level = platform::WindowLevel::normal;
    spec.frame = cocoaFrame(screens_, QRectF(geometry()));
    spec.visible = visible;
    spec.isPanel = false;
    spec.joinsAllSpaces = false;
    spec.canBecomeKey = true;
    if (windowNumber_) {
        ownWindows_.updateOwnWindow(*windowNumber_, spec);
        return;
    }
    windowNumber_ = ownWindows_.addOwnWindow(spec);
    // Screen captures draw the window as it looks.
    ownWindows_.setOwnWindowRenderer(*windowNumber_, [window = QPointer<MainWindow>(this)](const QSize& size) {
        return window ? window->grab().toImage().scaled(size) : QImage();
    });
    ownWindows_.setOwnWindowHandle(*windowNumber_, windowHandle());
}

} // namespace vesk
