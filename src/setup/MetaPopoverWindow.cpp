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
    const QPoint below = anchor.mapToGlobal(QPoint(anchor.width() / 2, anchor.height()));
    const QPoint above = anchor.mapToGlobal(QPoint(anchor.width() / 2, 0));
    QScreen* screen = anchor.screen() ? anchor.screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(below - QPoint(5000, 5000), QSize(10000, 10000));
    const bool roomBelow = below.y() + height() <= area.bottom() + 1 - screenMargin;
    opensAbove_ = !roomBelow && above.y() - height() >= area.top() + screenMargin;
    layout()->setContentsMargins(0, opensAbove_ ? 0 : static_cast<int>(arrowHeight), 0,
                                 opensAbove_ ? static_cast<int>(arrowHeight) : 0);
    adjustSize();

    const int left = std::clamp(below.x() - width() / 2, area.left() + screenMargin,
                                std::max(area.left() + screenMargin, area.right() + 1 - screenMargin - width()));
    const double arrowLimit = cornerRadius + arrowHalfWidth;
    arrowX_ = std::clamp(static_cast<double>(below.x() - left), arrowLimit, width() - arrowLimit);
    tipY_ = opensAbove_ ? above.y() : below.y();
    move(left, opensAbove_ ? tipY_ - height() : tipY_);
    show();
}

// Above the control the popover grows upwards (a goal's second line), so
// that its arrow stays on the control.
void MetaPopoverWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (opensAbove_ && isVisible())
        move(x(), tipY_ - height());
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

QPointF MetaPopoverWindow::arrowTip() const
{
    return {arrowX_, opensAbove_ ? static_cast<double>(height()) : 0.0};
}

QPainterPath MetaPopoverWindow::outline() const
{
    const double bodyTop = opensAbove_ ? 0.5 : arrowHeight;
    const QRectF body(0.5, bodyTop, width() - 1, height() - arrowHeight - 0.5);
    // The arrow's base overlaps the body by half a point so that the two join.
    const double tipY = opensAbove_ ? height() - 0.5 : 0.5;
    const double baseY = opensAbove_ ? height() - arrowHeight - 0.5 : arrowHeight + 0.5;
    QPainterPath arrow;
    arrow.moveTo(arrowX_ - arrowHalfWidth, baseY);
    arrow.lineTo(arrowX_, tipY);
    arrow.lineTo(arrowX_ + arrowHalfWidth, baseY);
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
