#pragma once

#include <QWidget>

namespace vesk {

// The frame of the permission banner in the setup card: its content in a
// centred column (7 points apart) with 10 points of padding, on a rounded
// rectangle (8 points, continuous corners) filled with the warning colour at
// 0.1 and outlined with it at 0.32.
class PermissionBannerCard final : public QWidget {
    Q_OBJECT

public:
    explicit PermissionBannerCard(QWidget* content, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vesk
