#include "app/MainWindow.h"

#include "app/AppHelpers.h"
#include "platform/SimulatedDesktop.h"

#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QVBoxLayout>

namespace vesk {

namespace {

// Centred in the visible frame of the desktop's main display.
QRectF initialCocoaFrame(const platform::SimulatedDesktop& desktop)
{
    QRectF frame(0, 0, MainWindow::defaultWidth, MainWindow::defaultHeight);
    if (const auto index = desktop.mainDisplayIndex())
        frame.moveCenter(desktop.displays().at(static_cast<size_t>(*index)).visibleFrame.center());
    return frame;
}

} // namespace

MainWindow::MainWindow(platform::SimulatedDesktop& desktop, QWidget* parent)
    : QMainWindow(parent)
    , desktop_(desktop)
{
    setWindowTitle(QStringLiteral("VESK"));
    resize(defaultWidth, defaultHeight);

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
    setCentralWidget(content);

    QMenu* appMenu = menuBar()->addMenu(QStringLiteral("VESK"));
    checkForUpdatesAction_ = appMenu->addAction(QStringLiteral("Nach Updates suchen…"));
    settingsAction_ = appMenu->addAction(QStringLiteral("Einstellungen…"));
    settingsAction_->setShortcut(QKeySequence::Preferences);
    appMenu->addSeparator();
    quitAction_ = appMenu->addAction(QStringLiteral("VESK beenden"));
    quitAction_->setShortcut(QKeySequence::Quit);
}

MainWindow::~MainWindow()
{
    if (windowNumber_)
        desktop_.removeOwnWindow(*windowNumber_);
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

void MainWindow::publishToDesktop(bool visible)
{
    platform::OwnWindowSpec spec;
    spec.title = windowTitle();
    spec.level = platform::WindowLevel::normal;
    spec.frame = initialCocoaFrame(desktop_);
    spec.visible = visible;
    spec.isPanel = false;
    spec.joinsAllSpaces = false;
    spec.canBecomeKey = true;
    if (windowNumber_) {
        desktop_.updateOwnWindow(*windowNumber_, spec);
        return;
    }
    windowNumber_ = desktop_.addOwnWindow(spec);
    // Screen captures of the desktop draw the window as it looks.
    desktop_.setOwnWindowRenderer(*windowNumber_, [window = QPointer<MainWindow>(this)](const QSize& size) {
        return window ? window->grab().toImage().scaled(size) : QImage();
    });
}

} // namespace vesk
