#pragma once

#include <QColor>
#include <QWidget>

namespace vesk {

// A layer of one colour over its parent that takes the clicks on it: the
// black veil behind the update panel, whose tap dismisses the update flow.
class DimmingLayer final : public QWidget {
    Q_OBJECT

public:
    DimmingLayer(const QColor& color, QWidget* parent = nullptr);

signals:
    void tapped();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor color_;
};

} // namespace vesk
