#include "panels/StageVeskCard.h"

#include "panels/StageVeskDrawing.h"

#include <QPainter>

namespace vesk {

StageVeskCard::StageVeskCard(double cornerRadius, const QColor& fill, const QColor& outline, QWidget* parent)
    : QWidget(parent)
    , cornerRadius_(cornerRadius)
    , fill_(fill)
    , outline_(outline)
{
}

void StageVeskCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintRoundedCard(painter, rect(), cornerRadius_, fill_, outline_);
}

} // namespace vesk
