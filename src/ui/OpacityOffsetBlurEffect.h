#pragma once

#include <QGraphicsEffect>
#include <QPointF>

namespace vesk {

// Fade, move and blur of a widget in one effect (Qt takes one effect per
// widget): the widget drawn `offset` points away, blurred by `blurRadius`
// points, at `opacity`. With the defaults it draws the widget unchanged.
class OpacityOffsetBlurEffect final : public QGraphicsEffect {
    Q_OBJECT

public:
    explicit OpacityOffsetBlurEffect(QObject* parent = nullptr);

    double opacity() const { return opacity_; }
    QPointF offset() const { return offset_; }
    double blurRadius() const { return blurRadius_; }
    void setOpacity(double opacity);
    void setOffset(const QPointF& offset);
    void setBlurRadius(double radius);

    QRectF boundingRectFor(const QRectF& rect) const override;

protected:
    void draw(QPainter* painter) override;

private:
    void changed();

    double opacity_ = 1;
    QPointF offset_;
    double blurRadius_ = 0;
};

} // namespace vesk
