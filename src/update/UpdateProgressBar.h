#pragma once

#include "ui/VeskTheme.h"

#include <QWidget>

namespace vesk {

// The download's bar, 8 points high: a rounded track in `insetStrong` and a
// fill from `accentDeep` to `accent` over the share `progress` of the width.
class UpdateProgressBar final : public QWidget {
    Q_OBJECT

public:
    static constexpr int barHeight = 8;

    explicit UpdateProgressBar(const VeskTheme& theme, QWidget* parent = nullptr);

    double progress() const { return progress_; }
    void setProgress(double progress);
    // The fill's width at the bar's current width: 0 for a share that is not
    // 0 or more, never wider than the track.
    double fillWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const VeskTheme& theme_;
    double progress_ = 0;
};

} // namespace vesk
