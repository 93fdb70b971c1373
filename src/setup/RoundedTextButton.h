#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>

#include <optional>

namespace vesk {

// A plain button with a centred title on a rounded rectangle (continuous
// corners) that is filled, stroked with a 1-point line, or both. It takes the
// width its layout gives it; its height is the title's plus the vertical
// padding above and below.
class RoundedTextButton final : public QAbstractButton {
    Q_OBJECT

public:
    struct Look {
        QFont font;
        QColor textColor;
        std::optional<QColor> fill;
        std::optional<QColor> stroke;
        double cornerRadius = 8;
        double verticalPadding = 8;
    };

    RoundedTextButton(const QString& title, const Look& look, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look look_;
};

} // namespace vesk
