#pragma once

#include <QColor>
#include <QWidget>

namespace vesk {

// The small target drawn beside a session goal: an outer ring, a fainter
// middle ring and a centre dot in orange, `size` points square.
class GoalTargetIcon final : public QWidget {
    Q_OBJECT

public:
    explicit GoalTargetIcon(double size, QWidget* parent = nullptr);

    double iconSize() const { return size_; }
    QSize sizeHint() const override;

    static QColor color();
    // The ring width for a canvas of `width` × `height`: a twentieth of the
    // shorter side, never thinner than one point.
    static double lineWidth(double width, double height);
    static void paint(QPainter& painter, const QRectF& rect);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double size_;
};

} // namespace vesk
