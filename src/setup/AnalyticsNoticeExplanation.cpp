#include "setup/AnalyticsNoticeExplanation.h"

#include "ui/VeskFont.h"
#include "ui/VeskTheme.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>

#include <cmath>

namespace vesk {

AnalyticsNoticeExplanation::AnalyticsNoticeExplanation(const Localizer& localizer, QWidget* parent) : QWidget(parent)
{
    const VeskTheme& theme = VeskTheme::shared();
    document_.setDocumentMargin(0);
    document_.setDefaultFont(VeskFont::interface(11));
    QTextCursor cursor(&document_);
    QTextBlockFormat block;
    block.setLineHeight(2, QTextBlockFormat::LineDistanceHeight);
    cursor.setBlockFormat(block);
    QTextCharFormat plain;
    plain.setForeground(theme.textSecondary);
    QTextCharFormat strong = plain;
    strong.setForeground(theme.textPrimary);
    cursor.insertText(localizer.translate("AnalyticsNotice", "VESK misst nur, "), plain);
    cursor.insertText(localizer.translate("AnalyticsNotice", "dass"), strong);
    cursor.insertText(localizer.translate("AnalyticsNotice", " du fokussierst — nie "), plain);
    cursor.insertText(localizer.translate("AnalyticsNotice", "woran"), strong);
    cursor.insertText(localizer.translate("AnalyticsNotice", ". Keine App-Namen, keine Ziele, keine Inhalte."), plain);
    setAccessibleName(document_.toPlainText());
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

QSize AnalyticsNoticeExplanation::sizeHint() const
{
    document_.setTextWidth(-1);
    const QSizeF natural = document_.size();
    return {static_cast<int>(std::ceil(natural.width())), static_cast<int>(std::ceil(natural.height()))};
}

int AnalyticsNoticeExplanation::heightForWidth(int width) const
{
    document_.setTextWidth(width);
    return static_cast<int>(std::ceil(document_.size().height()));
}

void AnalyticsNoticeExplanation::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    document_.setTextWidth(width());
    QAbstractTextDocumentLayout::PaintContext context;
    document_.documentLayout()->draw(&painter, context);
}

} // namespace vesk
