#pragma once

#include <QAbstractButton>

namespace vesk {

// The "ENTER VESK" control: a 220-point square in the middle of the full
// width it is given; pressing it starts the session (the model refuses when
// it cannot). It draws nothing itself: the start symbol and its words are
// painted by StartSymbolLayer over the whole window, because the symbol grows
// far beyond this square while it warps.
class StartControl final : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr double symbolSize = 220;
    static inline const QString title = QStringLiteral("ENTER VESK");

    explicit StartControl(QWidget* parent = nullptr);

    // The symbol's square in this widget's coordinates.
    QRectF symbolSquare() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;
};

} // namespace vesk
