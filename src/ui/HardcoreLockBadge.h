#pragma once

#include "ui/Localizer.h"

#include <QColor>
#include <QWidget>

#include <optional>

namespace vesk {

// The label that stands in a hardcore session where the leave control would
// be: the lock symbol and "Hardcore", 11 pt medium, with a tooltip saying the
// session ends only by its timer or a restart. It brings no colours of its
// own: the view that places it sets the colour, the background and the
// padding (as contents margins), since the HUD and the stage bars dress it
// differently.
class HardcoreLockBadge final : public QWidget {
    Q_OBJECT

public:
    static constexpr double pointSize = 11;
    // Between the symbol and the title.
    static constexpr double spacing = 4;

    explicit HardcoreLockBadge(const Localizer& localizer = Localizer(), QWidget* parent = nullptr);

    const QColor& color() const { return color_; }
    void setColor(const QColor& color);
    // Fills the badge's whole rectangle behind the label: a rounded rectangle
    // with continuous corners of `cornerRadius`, or a capsule without one.
    void setBackground(const QColor& fill, std::optional<double> cornerRadius = std::nullopt);

    const QString& title() const { return title_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QColor color_ = Qt::white;
    QColor background_ = Qt::transparent;
    std::optional<double> cornerRadius_;
};

} // namespace vesk
