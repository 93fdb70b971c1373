#pragma once

#include "ui/Symbol.h"

#include <QAbstractButton>
#include <QColor>
#include <QFont>

#include <optional>

namespace vesk {

// A plain button of the stage bars: an optional symbol and a text, centred
// on an optional rounded background. Its size is fixed or follows its
// content with the padding.
class StageVeskButton final : public QAbstractButton {
    Q_OBJECT

public:
    struct Look {
        QFont font;
        QColor foreground = Qt::white;
        QColor background = Qt::transparent;
        double horizontalPadding = 0;
        double verticalPadding = 0;
        double cornerRadius = 0;
        std::optional<Symbol> symbol;
        double symbolPointSize = 12;
        // Empty: the content's size with the padding.
        QSize fixedSize;
    };

    StageVeskButton(const QString& text, const Look& look, QWidget* parent = nullptr);

    const Look& look() const { return look_; }
    void setLook(const Look& look);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSizeF contentSize() const;

    Look look_;
};

} // namespace vesk
