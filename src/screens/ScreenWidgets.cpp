#include "screens/ScreenWidgets.h"

#include "ui/StyleSheetColor.h"
#include "ui/TextLabel.h"

#include <QScrollArea>
#include <QScrollBar>

namespace vesk {

TextLabel* screenLabel(const QString& text, const QFont& font, const QColor& color, int lineLimit, double tracking,
                       Qt::Alignment alignment)
{
    return new TextLabel(text, {.font = font, .tracking = tracking, .lineLimit = lineLimit, .alignment = alignment},
                         color);
}

QWidget* screenRule(const QColor& color)
{
    auto* rule = new QWidget;
    rule->setFixedHeight(1);
    rule->setAttribute(Qt::WA_StyledBackground);
    rule->setStyleSheet(QStringLiteral("background: %1;").arg(styleSheetColor(color)));
    return rule;
}

void styleScrollArea(QScrollArea& area, const VeskTheme& theme)
{
    area.setWidgetResizable(true);
    area.setFrameShape(QFrame::NoFrame);
    area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area.viewport()->setAutoFillBackground(false);
    area.setStyleSheet(QStringLiteral("QScrollArea { background: transparent; }"));
    styleScrollBar(*area.verticalScrollBar(), theme);
}

void styleScrollBar(QScrollBar& bar, const VeskTheme& theme)
{
    bar.setStyleSheet(
        QStringLiteral("QScrollBar:vertical { background: transparent; width: 8px; margin: 2px 2px 2px 0; }"
                       "QScrollBar::handle:vertical { background: %1; border-radius: 3px; min-height: 24px; }"
                       "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
                       "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }")
            .arg(styleSheetColor(theme.hairlineStrong)));
}

} // namespace vesk
