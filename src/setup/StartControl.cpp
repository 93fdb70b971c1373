#include "setup/StartControl.h"

namespace vesk {

StartControl::StartControl(QWidget* parent) : QAbstractButton(parent)
{
    setText(title);
    setAccessibleName(title);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(static_cast<int>(symbolSize));
}

QRectF StartControl::symbolSquare() const
{
    return {(width() - symbolSize) / 2, (height() - symbolSize) / 2, symbolSize, symbolSize};
}

QSize StartControl::sizeHint() const
{
    return {static_cast<int>(symbolSize), static_cast<int>(symbolSize)};
}

void StartControl::paintEvent(QPaintEvent*)
{
}

bool StartControl::hitButton(const QPoint& position) const
{
    // The label takes the full width, as its button does.
    return rect().contains(position);
}

} // namespace vesk
