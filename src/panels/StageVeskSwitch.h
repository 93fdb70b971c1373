#pragma once

#include <QAbstractButton>
#include <QColor>

namespace vesk {

// An on/off switch: a capsule in the tint with the knob on the right when on,
// grey with the knob on the left when off. A click flips it.
class StageVeskSwitch final : public QAbstractButton {
    Q_OBJECT

public:
    StageVeskSwitch(const QColor& tint, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor tint_;
};

} // namespace vesk
