#include "setup/MetaPopoverWindow.h"

#include "setup/MetaPopoverView.h"
#include "ui/Shapes.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace vesk {

MetaPopoverWindow::MetaPopoverWindow(MetaPopoverView* view, std::function<void()> onDismiss, QWidget* parent,
                                     const ListWindow& listWindow)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint)
    , view_(view)
    , onDismiss_(std::move(onDismiss))
{
    setAttribute(Qt::WA_TranslucentBackground);
    view_->setDrawsBackground(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, static_cast<int>(arrowHeight), 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    arrowX_ = view_->width() / 2.0;
    if (listWindow)
        listing_ = listWindow(*this);
}

// The listing goes while the window is still whole.
MetaPopoverWindow::~MetaPopoverWindow()
{
    listing_.reset();
}

void MetaPopoverWindow::present(const QWidget& anchor)
{
    adjustSize();
    const QPoint tip = anchor.mapToGlobal(QPoint(anchor.width() / 2, anchor.height()));
    QScreen* screen = anchor.screen() ? anchor.screen() : QGuiApplication::primaryScreen();
    screenArea_ = screen ? screen->availableGeometry() : QRect(tip - QPoint(5000, 5000), QSize(10000, 10000));
    const int left =
        std::clamp(tip.x() - width() / 2, screenArea_.left() + screenMargin,
                   std::max(screenArea_.left() + screenMargin, screenArea_.right() + 1 - screenMargin - width()));
    const double arrowLimit = cornerRadius + arrowHalfWidth;
    arrowX_ = std::clamp(static_cast<double>(tip.x() - left), arrowLimit, width() - arrowLimit);
    anchorBottom_ = tip.y();
    // Qt's screen is the desktop's only where it holds the control's window
    // (a scripted run's desktop has displays of its own).
    screenHoldsWindow_ = screenArea_.contains(anchor.window()->frameGeometry());
    move(left, keptOnScreen(anchorBottom_));
    show();
}

// Under the control where the screen has room, else lifted as far as it
// must to end above the screen's bottom margin (never above its top).
int MetaPopoverWindow::keptOnScreen(int top) const
{
    if (!screenHoldsWindow_)
        return top;
    const int lowest = screenArea_.bottom() + 1 - screenMargin - height();
    return std::max(std::min(top, lowest), screenArea_.top() + screenMargin);
}

// A goal's second line makes the popover taller: it stays on the screen.
void MetaPopoverWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isVisible())
        move(x(), keptOnScreen(anchorBottom_));
}

void MetaPopoverWindow::dismissByOwner()
{
    closingByOwner_ = true;
    close();
}

void MetaPopoverWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // A click outside closes the popup by itself; the owner still has to know.
    if (!closingByOwner_ && onDismiss_)
        onDismiss_();
}

QPainterPath MetaPopoverWindow::outline() const
{
    const QRectF body(0.5, arrowHeight, width() - 1, height() - arrowHeight - 0.5);
    QPainterPath arrow;
    arrow.moveTo(arrowX_ - arrowHalfWidth, arrowHeight + 0.5);
    arrow.lineTo(arrowX_, 0.5);
    arrow.lineTo(arrowX_ + arrowHalfWidth, arrowHeight + 0.5);
    arrow.closeSubpath();
    return continuousRoundedRect(body, cornerRadius).united(arrow);
}

void MetaPopoverWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = outline();
    painter.fillPath(shape, theme_.bgBottom);
    painter.strokePath(shape, strokePen(theme_.hairlineStrong, 1));
}

} // namespace vesk
