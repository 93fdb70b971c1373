#pragma once

#include "ui/VeskTheme.h"

#include <QAbstractButton>

namespace vesk {

// The on/off switch of the log box: a capsule track tinted with the accent
// while on, with a round knob.
class BugReportLogSwitch final : public QAbstractButton {
    Q_OBJECT

public:
    explicit BugReportLogSwitch(const VeskTheme& theme, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {32, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const VeskTheme& theme_;
};

} // namespace vesk
