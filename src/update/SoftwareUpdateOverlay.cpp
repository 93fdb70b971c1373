#include "update/SoftwareUpdateOverlay.h"

#include "update/SoftwareUpdateService.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vesk {

SoftwareUpdateOverlay::SoftwareUpdateOverlay(SoftwareUpdateService& service, std::function<bool()> autoUpdatesEnabled,
                                             SoftwareUpdateView::Environment environment, QWidget& window)
    : QWidget(&window)
    , service_(service)
    , autoUpdatesEnabled_(std::move(autoUpdatesEnabled))
    , environment_(std::move(environment))
{
    setGeometry(window.rect());
    window.installEventFilter(this);
    connect(&service_.viewModel(), &SoftwareUpdateViewModel::isPresentedChanged, this,
            &SoftwareUpdateOverlay::presentationChanged);
    presentationChanged();
}

SoftwareUpdateOverlay::~SoftwareUpdateOverlay() = default;

void SoftwareUpdateOverlay::presentationChanged()
{
    if (!service_.viewModel().isPresented()) {
        delete panel_;
        hide();
        return;
    }
    if (!panel_) {
        SoftwareUpdateView::Environment environment = environment_;
        environment.localizer = Localizer(parentWidget()->locale());
        panel_ = new SoftwareUpdateView(service_, autoUpdatesEnabled_(), VeskTheme::shared(), environment, this);
        panel_->installEventFilter(this);
        panel_->show();
    }
    placePanel();
    show();
    raise();
}

bool SoftwareUpdateOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    // The panel grows and shrinks with its section and stays centred.
    if (watched == panel_ && event->type() == QEvent::Resize)
        placePanel();
    // Whatever the window shows later stays under the panel.
    if (watched == parentWidget() && event->type() == QEvent::ChildAdded && isVisible())
        raise();
    return QWidget::eventFilter(watched, event);
}

void SoftwareUpdateOverlay::resizeEvent(QResizeEvent*)
{
    placePanel();
}

void SoftwareUpdateOverlay::placePanel()
{
    if (!panel_)
        return;
    QRect frame(QPoint(), panel_->size());
    frame.moveCenter(rect().center());
    panel_->setGeometry(frame);
}

void SoftwareUpdateOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0, 0, 0, 0.45));
}

void SoftwareUpdateOverlay::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        service_.driver().dismissUpdateFlow();
}

} // namespace vesk
