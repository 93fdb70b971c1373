#include "app/MainWindow.h"

#include <QMenuBar>
#include <QMouseEvent>
#include <QWindow>

namespace vesk {

MainWindow::MainWindow(const platform::ScreenProviding& screens, platform::OwnWindowRegistering& ownWindows,
                       QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::FramelessWindowHint)
    , listing_(*this, screens, ownWindows)
{
    setWindowTitle(QStringLiteral("VESK"));
    setGeometry(
        OwnWindowListing::centredOnMainScreen(screens, QSizeF(MainWindow::defaultWidth, MainWindow::defaultHeight))
            .toRect());

    // The content's layout gives the window its size limits.
    setCentralWidget(new QWidget(this));

    buildMenus();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    QMenu* appMenu = menuBar()->addMenu(QStringLiteral("VESK"));
    aboutAction_ = appMenu->addAction(QString());
    aboutAction_->setMenuRole(QAction::AboutRole);
    // The update check follows the application's information item.
    checkForUpdatesAction_ = appMenu->addAction(QString());
    settingsAction_ = appMenu->addAction(QString());
    settingsAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    appMenu->addSeparator();
    quitAction_ = appMenu->addAction(QString());
    quitAction_->setShortcut(QKeySequence::Quit);

    // Without a title bar these are the window's buttons.
    windowMenu_ = menuBar()->addMenu(QString());
    minimizeAction_ = windowMenu_->addAction(QString());
    minimizeAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(minimizeAction_, &QAction::triggered, this, &QWidget::showMinimized);
    closeAction_ = windowMenu_->addAction(QString());
    closeAction_->setShortcut(QKeySequence::Close);
    connect(closeAction_, &QAction::triggered, this, &QWidget::close);
    retranslate(Localizer());

    // A menu bar inside the small frameless window would push its content
    // down: where the desktop has no menu bar of its own, the menus' shortcuts
    // stay on the window, and a right click on its background shows them
    // (the only way to "Über VESK" and the menu's update check there).
    if (!menuBar()->isNativeMenuBar()) {
        menuBar()->hide();
        addActions(appMenu->actions());
        addActions(windowMenu_->actions());
        setContextMenuPolicy(Qt::ActionsContextMenu);
    }
}

void MainWindow::retranslate(const Localizer& localizer)
{
    aboutAction_->setText(localizer.translate("MainWindow", "Über VESK"));
    checkForUpdatesAction_->setText(localizer.translate("MainWindow", "Nach Updates suchen…"));
    settingsAction_->setText(localizer.translate("MainWindow", "Einstellungen…"));
    quitAction_->setText(localizer.translate("MainWindow", "VESK beenden"));
    windowMenu_->setTitle(localizer.translate("MainWindow", "Fenster"));
    minimizeAction_->setText(localizer.translate("MainWindow", "Minimieren"));
    closeAction_->setText(localizer.translate("MainWindow", "Schließen"));
}

void MainWindow::setContent(QWidget* content)
{
    setCentralWidget(content);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    emit contentShown();
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

} // namespace vesk
