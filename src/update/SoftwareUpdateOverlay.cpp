#include "update/SoftwareUpdateOverlay.h"

#include "core/Clock.h"
#include "ui/ReducedMotion.h"
#include "update/SoftwareUpdateService.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vesk {

namespace {

constexpr double frameInterval = 1.0 / 60;
constexpr double enteringScale = 0.96;
// Room around the panel in a window that grows to hold it.
constexpr int windowMargin = 12;

} // namespace

SoftwareUpdateOverlay::SoftwareUpdateOverlay(SoftwareUpdateService& service, std::function<bool()> autoUpdatesEnabled,
                                             SoftwareUpdateView::Environment environment, QWidget& window)
    : QWidget(&window)
    , service_(service)
    , autoUpdatesEnabled_(std::move(autoUpdatesEnabled))
    , environment_(std::move(environment))
    , frames_(environment_.scheduler, frameInterval, [this] { frame(); })
{
    setGeometry(window.rect());
    hide();
    window.installEventFilter(this);
    connect(&service_.viewModel(), &SoftwareUpdateViewModel::isPresentedChanged, this,
            &SoftwareUpdateOverlay::presentationChanged);
    presentationChanged();
}

SoftwareUpdateOverlay::~SoftwareUpdateOverlay() = default;

double SoftwareUpdateOverlay::presence() const
{
    return presence_.valueAt(environment_.clock.now());
}

void SoftwareUpdateOverlay::presentationChanged()
{
    if (service_.viewModel().isPresented())
        present();
    else if (panel_)
        startTransition(0);
}

void SoftwareUpdateOverlay::present()
{
    if (!panel_) {
        SoftwareUpdateView::Environment environment = environment_;
        environment.localizer = Localizer(parentWidget()->locale());
        panel_ = new SoftwareUpdateView(service_, autoUpdatesEnabled_(), VeskTheme::shared(), environment, this);
        panel_->installEventFilter(this);
    }
    growWindowToHoldPanel();
    placePanel();
    show();
    raise();
    startTransition(1);
}

void SoftwareUpdateOverlay::startTransition(double to)
{
    const double duration = environment_.reducedMotion.isOn() ? 0 : transitionSeconds;
    presence_.animate(to, environment_.clock.now(), duration, CubicBezierCurve::easeOut());
    if (panel_)
        transitionImage_ = panel_->grab();
    frame();
    if (presence_.isAnimating(environment_.clock.now()))
        frames_.start();
}

// One frame of a transition; the last one leaves the live panel, or nothing.
void SoftwareUpdateOverlay::frame()
{
    update();
    if (presence_.isAnimating(environment_.clock.now())) {
        if (panel_)
            panel_->hide();
        return;
    }
    frames_.stop();
    transitionImage_ = QPixmap();
    if (presence_.target() > 0) {
        if (panel_)
            panel_->show();
        return;
    }
    delete panel_;
    hide();
    giveBackWindowGrowth();
}

bool SoftwareUpdateOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    // Whatever the window shows later stays under the panel.
    if (watched == parentWidget() && event->type() == QEvent::ChildAdded && isVisible())
        raise();
    // The panel grows and shrinks with its section and stays centred. The
    // event's type comes first: while the panel is being deleted its events
    // still pass here, and reading the guarded pointer then would cast an
    // object that is no longer a panel.
    if (event->type() == QEvent::Resize && watched == panel_) {
        growWindowToHoldPanel();
        placePanel();
    }
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

void SoftwareUpdateOverlay::growWindowToHoldPanel()
{
    // The layer covers its parent; the window around it grows by what the
    // parent lacks.
    const QSize needed = panel_->size() + QSize(2 * windowMargin, 2 * windowMargin);
    const QSize lacking = (needed - parentWidget()->size()).expandedTo(QSize(0, 0));
    if (lacking.isNull())
        return;
    QWidget* window = parentWidget()->window();
    if (!windowSizeBeforePanel_)
        windowSizeBeforePanel_ = window->size();
    window->resize(window->size() + lacking);
}

// Once the panel has left, the window goes back to the size it had.
void SoftwareUpdateOverlay::giveBackWindowGrowth()
{
    if (!windowSizeBeforePanel_)
        return;
    parentWidget()->window()->resize(*windowSizeBeforePanel_);
    windowSizeBeforePanel_.reset();
}

void SoftwareUpdateOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const double shown = presence();
    painter.fillRect(rect(), QColor::fromRgbF(0, 0, 0, dimmingOpacity * shown));
    if (transitionImage_.isNull() || !panel_ || panel_->isVisible())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPointF centre = QRectF(panel_->geometry()).center();
    const double scale = enteringScale + (1 - enteringScale) * shown;
    painter.translate(centre);
    painter.scale(scale, scale);
    painter.setOpacity(shown);
    const QSizeF size = QSizeF(transitionImage_.size()) / transitionImage_.devicePixelRatio();
    painter.drawPixmap(QRectF(QPointF(-size.width() / 2, -size.height() / 2), size), transitionImage_,
                       QRectF(transitionImage_.rect()));
}

void SoftwareUpdateOverlay::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && presence_.target() > 0)
        service_.driver().dismissUpdateFlow();
}

} // namespace vesk
