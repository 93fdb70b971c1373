#pragma once

#include "ui/TextStyle.h"

#include <QColor>
#include <QWidget>

namespace vesk {

// A line (or a few) of text set with a TextStyle: it wraps, shrinks and
// truncates to its width (FittedText) and paints in one colour. Its size hint
// is the text on its natural lines; give it a maximum width to make it wrap.
class TextLabel final : public QWidget {
    Q_OBJECT

public:
    explicit TextLabel(QWidget* parent = nullptr);
    TextLabel(const QString& text, const TextStyle& style, const QColor& color, QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    void setText(const QString& text);
    const TextStyle& style() const { return style_; }
    void setStyle(const TextStyle& style);
    const QColor& color() const { return color_; }
    void setColor(const QColor& color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changed();

    QString text_;
    TextStyle style_;
    QColor color_ = Qt::white;
};

} // namespace vesk
