#pragma once

#include "screens/SessionHistoryCard.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace vesk {

// The cards of the history, one under the other with 9 points between them,
// as tall as all of them together (it sits in a scroll area). A card is built
// only when it comes into view: painting asks for the exposed part alone.
class SessionHistoryList final : public QWidget {
    Q_OBJECT

public:
    static constexpr double spacing = 9;
    static constexpr double sidePadding = 20;
    static constexpr double bottomPadding = 18;

    SessionHistoryList(SessionHistoryCardContext context, QWidget* parent = nullptr);

    void setSessions(std::vector<std::shared_ptr<FocusSession>> sessions);
    // The cards' rectangles at the current width, in list order.
    const std::vector<QRectF>& cardRects() const { return cardRects_; }
    // How many cards the last paint built.
    int lastBuiltCardCount() const { return lastBuiltCardCount_; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<QRectF> layOut(double width) const;
    void relayOut();

    SessionHistoryCardContext context_;
    std::vector<std::shared_ptr<FocusSession>> sessions_;
    std::vector<QRectF> cardRects_;
    int lastBuiltCardCount_ = 0;
};

} // namespace vesk
