#include "setup/AnalyticsNoticeCard.h"

#include "setup/AnalyticsNoticeExplanation.h"
#include "setup/SessionSetupModel.h"
#include "ui/FilledButton.h"
#include "ui/Gradient.h"
#include "ui/Shapes.h"
#include "ui/TextLabel.h"
#include "ui/VeskTheme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace vesk {

namespace {

constexpr int outerMargin = 12;
constexpr int cardPadding = 15;
constexpr double cardCornerRadius = 14;
constexpr double columnCornerRadius = 10;
constexpr double buttonCornerRadius = 8;
constexpr double buttonVerticalPadding = 8;

QLabel* symbolLabel(Symbol symbol, double pointSize, const QColor& color, QFont::Weight weight, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setPixmap(symbolPixmap(symbol, pointSize, color, weight, parent->devicePixelRatioF()));
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return label;
}

TextLabel* textLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent)
{
    return new TextLabel(text, {.font = font}, color, parent);
}

// A button of the row: it takes its half of the width, the title centred
// between paddings as wide as the corners.
FilledButton* rowButton(const QString& title, FilledButton::Look look, QWidget* parent)
{
    look.cornerRadius = buttonCornerRadius;
    look.padding = {buttonCornerRadius, buttonVerticalPadding, buttonCornerRadius, buttonVerticalPadding};
    auto* button = new FilledButton(title, look, parent);
    button->setCursor(Qt::PointingHandCursor);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

} // namespace

AnalyticsNoticeCard::AnalyticsNoticeCard(SessionSetupModel& model, const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(outerMargin, 0, outerMargin, outerMargin);
    card_ = new QWidget(this);
    outer->addWidget(card_);

    auto* content = new QVBoxLayout(card_);
    content->setContentsMargins(cardPadding, cardPadding, cardPadding, cardPadding);
    content->setSpacing(0);
    content->addWidget(makeHeader(localizer));
    content->addSpacing(8);
    content->addWidget(new AnalyticsNoticeExplanation(localizer, card_));
    content->addSpacing(11);
    content->addWidget(makeColumns());
    content->addSpacing(11);
    content->addWidget(makeButtons(model, localizer));
}

QWidget* AnalyticsNoticeCard::makeHeader(const Localizer& localizer)
{
    const VeskTheme& theme = VeskTheme::shared();
    auto* header = new QWidget(card_);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(symbolLabel(Symbol::lockShield, 15, theme.accent, QFont::Normal, header), 0, Qt::AlignVCenter);
    row->addWidget(textLabel(localizer.translate("AnalyticsNotice", "Anonyme Nutzungsdaten sind an"),
                             VeskFont::interface(13, QFont::DemiBold), theme.textPrimary, header),
                   1, Qt::AlignVCenter);
    return header;
}

QWidget* AnalyticsNoticeCard::makeColumns()
{
    const VeskTheme& theme = VeskTheme::shared();
    auto* columns = new QWidget(card_);
    auto* row = new QHBoxLayout(columns);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    // Column titles and items are shown as they are.
    row->addWidget(makeColumn(Symbol::checkmark, theme.ok, QStringLiteral("Was wir sehen"),
                              {QStringLiteral("Anzahl & Dauer"), QStringLiteral("Ziel erreicht?"),
                               QStringLiteral("App-Version")}),
                   1);
    row->addWidget(makeColumn(Symbol::eyeSlash, theme.textMuted, QStringLiteral("Nie"),
                              {QStringLiteral("Welche Apps"), QStringLiteral("Deine Ziele"),
                               QStringLiteral("Deine IP")}),
                   1);
    return columns;
}

QWidget* AnalyticsNoticeCard::makeColumn(Symbol symbol, const QColor& symbolColor, const QString& title,
                                         const QStringList& items)
{
    const VeskTheme& theme = VeskTheme::shared();
    auto* column = new QWidget(card_);
    columns_.push_back(column);
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(10, 9, 10, 9);
    stack->setSpacing(6);

    auto* titleRow = new QHBoxLayout();
    titleRow->setSpacing(5);
    titleRow->addWidget(symbolLabel(symbol, 10, symbolColor, QFont::Bold, column), 0, Qt::AlignVCenter);
    TextStyle titleStyle;
    titleStyle.font = VeskFont::interface(10, QFont::DemiBold);
    titleStyle.tracking = 0.3;
    titleStyle.uppercase = true;
    titleRow->addWidget(new TextLabel(title, titleStyle, theme.textMuted, column), 1, Qt::AlignVCenter);
    stack->addLayout(titleRow);
    for (const QString& item : items)
        stack->addWidget(textLabel(item, VeskFont::interface(10.5), theme.textSecondary, column));
    return column;
}

QWidget* AnalyticsNoticeCard::makeButtons(SessionSetupModel& model, const Localizer& localizer)
{
    const VeskTheme& theme = VeskTheme::shared();
    auto* buttons = new QWidget(card_);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    FilledButton::Look settingsLook =
        FilledButton::Look::filled(VeskFont::interface(12, QFont::Medium), theme.textSecondary);
    settingsLook.stroke = theme.hairlineStrong;
    settingsButton_ = rowButton(localizer.translate("AnalyticsNotice", "Einstellungen"), settingsLook, buttons);
    acknowledgeButton_ =
        rowButton(localizer.translate("AnalyticsNotice", "Verstanden"),
                  FilledButton::Look::filled(VeskFont::interface(12, QFont::DemiBold), theme.accentText, theme.accent),
                  buttons);
    row->addWidget(settingsButton_, 1);
    row->addWidget(acknowledgeButton_, 1);
    connect(settingsButton_, &QAbstractButton::clicked, &model, &SessionSetupModel::openSettingsFromNotice);
    connect(acknowledgeButton_, &QAbstractButton::clicked, &model, &SessionSetupModel::acknowledgeAnalyticsNotice);
    return buttons;
}

void AnalyticsNoticeCard::paintEvent(QPaintEvent*)
{
    const VeskTheme& theme = VeskTheme::shared();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF cardRect = QRectF(card_->geometry()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath card = continuousRoundedRect(cardRect, cardCornerRadius);
    // A thin material: the window's dark behind, then the panel gradient.
    painter.fillPath(card, withOpacity(theme.bgBottom, 0.6));
    const LinearGradient panel{{{0, withOpacity(theme.panelTop, 0.95)}, {1, withOpacity(theme.panelBottom, 0.98)}}};
    painter.fillPath(card, panel.in(cardRect));
    painter.strokePath(card, strokePen(theme.hairlineStrong, 1));

    for (const QWidget* column : columns_) {
        const QRectF columnRect = QRectF(column->geometry())
                                      .translated(column->parentWidget()->mapTo(this, QPoint()))
                                      .adjusted(0.5, 0.5, -0.5, -0.5);
        const QPainterPath shape = continuousRoundedRect(columnRect, columnCornerRadius);
        painter.fillPath(shape, theme.inset);
        painter.strokePath(shape, strokePen(theme.hairline, 1));
    }
}

} // namespace vesk
