#pragma once

#include "ui/Symbol.h"

#include <QAbstractButton>
#include <QColor>

namespace vesk {

// A plain button that is only a symbol: no bezel, no background, the symbol
// at a point size in one colour, centred in the button. The meta line's
// icons are such buttons.
class SymbolButton final : public QAbstractButton {
    Q_OBJECT

public:
    SymbolButton(Symbol symbol, double pointSize, const QColor& color, QWidget* parent = nullptr);

    Symbol symbol() const { return symbol_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Symbol symbol_;
    double pointSize_;
    QColor color_;
};

} // namespace vesk
