#pragma once

#include "ui/VeskTheme.h"

#include <QAbstractButton>

namespace vesk {

// One duration choice of the meta popover: its label on a capsule, filled
// with the accent (medium-weight dark text) when selected, with insetStrong
// (regular-weight textPrimary) otherwise. Pills in a row share its width
// equally, whatever their labels; no hover or press effect.
class DurationPill final : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr double pointSize = 11;
    static constexpr double verticalPadding = 5;

    DurationPill(const QString& label, bool isSelected, QWidget* parent = nullptr);

    bool isSelected() const { return isSelected_; }
    void setSelected(bool selected);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont labelFont() const;

    bool isSelected_;
    VeskTheme theme_ = VeskTheme::shared();
};

} // namespace vesk
