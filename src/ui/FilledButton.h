#pragma once

#include "ui/Symbol.h"
#include "ui/TextStyle.h"

#include <QAbstractButton>
#include <QColor>
#include <QMarginsF>
#include <QPainter>

#include <functional>
#include <optional>

namespace vesk {

// Vesk's plain button: a title (or a symbol) in one colour on a capsule or
// rounded rectangle that is filled, stroked with a 1-point line, or both, with
// padding around the label. A title too long for the button shrinks and
// truncates as its style says.
class FilledButton final : public QAbstractButton {
    Q_OBJECT

public:
    struct Look {
        TextStyle textStyle;
        QColor textColor = Qt::white;
        QColor fill = Qt::transparent;
        // A 1-point line inside the bounds; with one, the fill and the line
        // follow the shape inset by half a point.
        std::optional<QColor> stroke;
        // Around the label: left, top, right, bottom.
        QMarginsF padding;
        // A rounded rectangle of this radius; a capsule without one.
        std::optional<double> cornerRadius;
        // Drawn in place of the title at the style's point size.
        std::optional<Symbol> symbol;
        // Drawn before the title in a square of this side, `iconSpacing` apart.
        std::function<void(QPainter&, const QRectF&)> leadingIcon;
        double leadingIconSide = 0;
        double iconSpacing = 0;

        // A title in `font` and `textColor` on `fill`, `padding` around it.
        static Look filled(const QFont& font, const QColor& textColor, const QColor& fill = Qt::transparent,
                           const QMarginsF& padding = {})
        {
            Look look;
            look.textStyle.font = font;
            look.textColor = textColor;
            look.fill = fill;
            look.padding = padding;
            return look;
        }
    };

    FilledButton(const QString& title, const Look& look, QWidget* parent = nullptr);

    const Look& look() const { return look_; }
    void setLook(const Look& look);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSizeF labelSize() const;
    void paintBackground(QPainter& painter, const QRectF& bounds) const;

    Look look_;
};

} // namespace vesk
