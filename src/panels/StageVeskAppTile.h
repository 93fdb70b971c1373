#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QImage>

namespace vesk {

// One application in the apps bar: its icon (or its initial on an orange
// tile), and when the bar is expanded its name and status. Its text is the
// application's display name.
class StageVeskAppTile final : public QAbstractButton {
    Q_OBJECT

public:
    struct Content {
        QString displayName;
        QImage icon;
        QString status;
        QColor statusColor;
        bool isParked = false;
        bool isCollapsed = false;
    };

    explicit StageVeskAppTile(const Content& content, QWidget* parent = nullptr);

    const Content& content() const { return content_; }
    // The upper-cased first character of the name; empty for an empty name.
    static QString initial(const QString& displayName);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintIcon(QPainter& painter, const QRectF& box) const;

    Content content_;
};

} // namespace vesk
