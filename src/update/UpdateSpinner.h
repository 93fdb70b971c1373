#pragma once

#include "ui/MotionTimeline.h"

#include <QColor>
#include <QWidget>

namespace vesk {

class Clock;
class ReducedMotion;
class Scheduler;

// A small indeterminate spinner, 16 points square: eight spokes whose
// brightness runs round once a second. Under reduced motion it holds still.
class UpdateSpinner final : public QWidget {
    Q_OBJECT

public:
    static constexpr int side = 16;

    UpdateSpinner(const Clock& clock, Scheduler& scheduler, const ReducedMotion& reducedMotion, QColor color,
                  QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Clock& clock_;
    const ReducedMotion& reducedMotion_;
    QColor color_;
    MotionTimeline timeline_;
};

} // namespace vesk
