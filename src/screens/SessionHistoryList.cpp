#include "screens/SessionHistoryList.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace vesk {

SessionHistoryList::SessionHistoryList(SessionHistoryCardContext context, QWidget* parent)
    : QWidget(parent)
    , context_(context)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void SessionHistoryList::setSessions(std::vector<std::shared_ptr<FocusSession>> sessions)
{
    sessions_ = std::move(sessions);
    relayOut();
}

std::vector<QRectF> SessionHistoryList::layOut(double width) const
{
    std::vector<QRectF> rects;
    rects.reserve(sessions_.size());
    const double cardWidth = std::max(0.0, width - 2 * sidePadding);
    double top = 0;
    for (const auto& session : sessions_) {
        const double height = SessionHistoryCard::height(*session, cardWidth);
        rects.emplace_back(sidePadding, top, cardWidth, height);
        top += height + spacing;
    }
    return rects;
}

int SessionHistoryList::heightForWidth(int width) const
{
    const auto rects = layOut(width);
    return rects.empty() ? 0 : static_cast<int>(std::ceil(rects.back().bottom() + bottomPadding));
}

QSize SessionHistoryList::sizeHint() const
{
    return QSize(width(), heightForWidth(width()));
}

void SessionHistoryList::relayOut()
{
    cardRects_ = layOut(width());
    setFixedHeight(cardRects_.empty() ? 0 : static_cast<int>(std::ceil(cardRects_.back().bottom() + bottomPadding)));
    updateGeometry();
    update();
}

void SessionHistoryList::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (cardRects_.empty() || cardRects_.front().width() != std::max(0.0, width() - 2 * sidePadding))
        relayOut();
}

void SessionHistoryList::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF exposed = event->rect();
    lastBuiltCardCount_ = 0;
    for (size_t index = 0; index < cardRects_.size() && index < sessions_.size(); ++index) {
        if (!cardRects_[index].intersects(exposed))
            continue;
        SessionHistoryCard(*sessions_[index], context_).paint(painter, cardRects_[index]);
        ++lastBuiltCardCount_;
    }
}

} // namespace vesk
