#pragma once

#include "ui/VeskTheme.h"

#include <QAbstractButton>
#include <QColor>

namespace vesk {

// One answer of the reflection card: a rounded chip with its text, tinted
// while it is the chosen answer. Choice chips centre their text and take the
// answer's tint; reason chips set it leading, take the accent and wrap onto a
// second line where one line would cut the reason.
class ReflectionChip final : public QAbstractButton {
    Q_OBJECT

public:
    enum class Kind { choice, reason };

    ReflectionChip(const QString& text, Kind kind, const QColor& tint, const VeskTheme& theme,
                   QWidget* parent = nullptr);

    void setSelected(bool selected);
    bool isSelected() const { return selected_; }
    // Whether the text fits the chip as it is laid out now, without "…".
    bool showsWholeText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_;
    QColor tint_;
    VeskTheme theme_;
    bool selected_ = false;
};

} // namespace vesk
