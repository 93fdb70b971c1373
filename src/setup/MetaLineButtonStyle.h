#pragma once

#include "ui/AnimatedValue.h"
#include "ui/VeskTheme.h"

#include <QColor>
#include <QDateTime>

namespace vesk {

// The hover highlight of the setup screen's meta line buttons: the label turns
// from textSecondary to textPrimary over 0.15 s (ease in and out) while the
// pointer is over the button, and back when it leaves. Pressing changes
// nothing. The button keeps one and evaluates it when it paints.
class MetaLineButtonStyle {
public:
    static constexpr double hoverSeconds = 0.15;

    bool isHovered() const { return isHovered_; }
    void setHovered(bool hovered, const QDateTime& now);

    QColor labelColor(const QDateTime& now, const VeskTheme& theme = VeskTheme::shared()) const;
    bool isAnimating(const QDateTime& now) const { return progress_.isAnimating(now); }

private:
    bool isHovered_ = false;
    // 0 while the pointer is outside, 1 while it is over the button.
    AnimatedValue progress_;
};

} // namespace vesk
