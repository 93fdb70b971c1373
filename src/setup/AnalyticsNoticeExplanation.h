#pragma once

#include "ui/Localizer.h"

#include <QTextDocument>
#include <QWidget>

namespace vesk {

// The analytics notice's paragraph: "VESK misst nur, dass du fokussierst — nie
// woran. Keine App-Namen, keine Ziele, keine Inhalte." in 11 points, the words
// "dass" and "woran" brighter than the rest, 2 points between lines. It wraps
// to its width and is as high as its lines.
class AnalyticsNoticeExplanation final : public QWidget {
    Q_OBJECT

public:
    explicit AnalyticsNoticeExplanation(const Localizer& localizer, QWidget* parent = nullptr);

    QString text() const { return document_.toPlainText(); }
    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    mutable QTextDocument document_;
};

} // namespace vesk
