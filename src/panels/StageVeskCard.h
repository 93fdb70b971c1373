#pragma once

#include <QColor>
#include <QWidget>

namespace vesk {

// The backing of a bar's content: a rounded rectangle in one colour with a
// 1 pt outline. Its layout holds the content.
class StageVeskCard final : public QWidget {
    Q_OBJECT

public:
    StageVeskCard(double cornerRadius, const QColor& fill, const QColor& outline, QWidget* parent = nullptr);

    double cornerRadius() const { return cornerRadius_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double cornerRadius_;
    QColor fill_;
    QColor outline_;
};

} // namespace vesk
