#pragma once

#include "ui/VeskTheme.h"

#include <QAbstractButton>

namespace vesk {

// A small on/off switch: a capsule track tinted with the accent while on,
// with a round knob.
class ToggleSwitch final : public QAbstractButton {
    Q_OBJECT

public:
    explicit ToggleSwitch(const VeskTheme& theme = VeskTheme::shared(), QWidget* parent = nullptr);

    QSize sizeHint() const override { return {32, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const VeskTheme& theme_;
};

} // namespace vesk
