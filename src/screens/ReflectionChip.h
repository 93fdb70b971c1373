#pragma once

#include "ui/VeskTheme.h"

#include <QAbstractButton>
#include <QColor>

namespace vesk {

// One answer of the reflection card: a rounded chip with its text, tinted
// while it is the chosen answer. Choice chips centre their text and take the
// answer's tint; reason chips set it leading and take the accent.
class ReflectionChip final : public QAbstractButton {
    Q_OBJECT

public:
    enum class Kind { choice, reason };

    ReflectionChip(const QString& text, Kind kind, const QColor& tint, const VeskTheme& theme,
                   QWidget* parent = nullptr);

    void setSelected(bool selected);
    bool isSelected() const { return selected_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_;
    QColor tint_;
    VeskTheme theme_;
    bool selected_ = false;
};

} // namespace vesk
