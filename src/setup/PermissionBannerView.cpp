#include "setup/PermissionBannerView.h"

#include "setup/SessionSetupModel.h"
#include "ui/StyleSheetColor.h"
#include "ui/Symbol.h"
#include "ui/TextLabel.h"
#include "ui/VeskFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace vesk {

namespace {

// The caption text style's size, which the warning symbol takes.
constexpr double captionPointSize = 10;

QPushButton* bannerButton(const QFont& font, const QString& style)
{
    auto* button = new QPushButton;
    button->setFont(font);
    button->setStyleSheet(style);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return button;
}

} // namespace

PermissionBannerView::Texts PermissionBannerView::texts(bool hasInputMonitoring, bool hasAccessibility,
                                                        const Localizer& localizer)
{
    Texts texts;
    texts.requestButton = localizer.translate("PermissionBannerView", "Berechtigung erteilen");
    if (hasInputMonitoring && hasAccessibility)
        return texts;
    if (hasInputMonitoring) {
        texts.title = localizer.translate("PermissionBannerView", "Bedienungshilfen erforderlich");
        texts.message = localizer.translate(
            "PermissionBannerView",
            "VESK braucht Bedienungshilfen für Minimieren, Wiederherstellen und Monitor-Wechsel. Wenn "
            "der Schalter schon blau ist: VESK mit dem Minus-Button entfernen, mit Plus neu hinzufügen "
            "und VESK neu starten.");
    } else if (hasAccessibility) {
        texts.title = localizer.translate("PermissionBannerView", "Eingabeüberwachung erforderlich");
        texts.message = localizer.translate(
            "PermissionBannerView",
            "VESK braucht Eingabeüberwachung für Fensterbuttons, Klick-Blocking und den Notausgang.");
    } else {
        texts.title =
            localizer.translate("PermissionBannerView", "Eingabeüberwachung und Bedienungshilfen erforderlich");
        texts.message = localizer.translate(
            "PermissionBannerView",
            "VESK braucht Eingabeüberwachung für Fensterbuttons und Bedienungshilfen für Minimieren "
            "und Monitor-Wechsel. Wenn Bedienungshilfen schon aktiv wirkt: VESK mit dem Minus-Button "
            "entfernen, mit Plus neu hinzufügen und VESK neu starten.");
        texts.requestButton = localizer.translate("PermissionBannerView", "Berechtigungen erteilen");
    }
    return texts;
}

PermissionBannerView::PermissionBannerView(SessionSetupModel& model, const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , localizer_(localizer)
{
    setAttribute(Qt::WA_TranslucentBackground);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(rowSpacing);
    column->addLayout(makeTitleRow());
    TextStyle messageStyle;
    messageStyle.font = VeskFont::interface(10);
    messageStyle.lineLimit = 0;
    message_ = new TextLabel({}, messageStyle, theme_.textSecondary);
    column->addWidget(message_);
    column->addLayout(makeButtonRow());
    connect(&model_, &SessionSetupModel::changed, this, &PermissionBannerView::refresh);
    refresh();
}

QLayout* PermissionBannerView::makeTitleRow()
{
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    auto* symbol = new QLabel;
    symbol->setPixmap(symbolPixmap(Symbol::exclamationmarkTriangleFill, captionPointSize, theme_.warn, QFont::Normal,
                                   devicePixelRatioF()));
    const int side = static_cast<int>(std::ceil(symbolSide(captionPointSize)));
    symbol->setFixedSize(side, side);
    row->addWidget(symbol, 0, Qt::AlignVCenter);
    TextStyle titleStyle;
    titleStyle.font = VeskFont::interface(11, QFont::DemiBold);
    titleStyle.lineLimit = 0;
    title_ = new TextLabel({}, titleStyle, theme_.textPrimary);
    row->addWidget(title_, 1, Qt::AlignVCenter);
    return row;
}

QLayout* PermissionBannerView::makeButtonRow()
{
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    requestButton_ =
        bannerButton(VeskFont::interface(11, QFont::Medium),
                     QStringLiteral(
                         "QPushButton { color: %1; background: transparent; border: 1px solid %2; border-radius: 7px; "
                         "padding: 6px 0; }")
                         .arg(styleSheetColor(theme_.textSecondary), styleSheetColor(theme_.hairlineStrong)));
    connect(requestButton_, &QPushButton::clicked, &model_, &SessionSetupModel::requestMissingPermissions);
    relaunchButton_ =
        bannerButton(VeskFont::interface(11, QFont::DemiBold),
                     QStringLiteral(
                         "QPushButton { color: %1; background: %2; border: none; border-radius: 7px; padding: 6px 0; }")
                         .arg(styleSheetColor(theme_.accentText), styleSheetColor(theme_.warn)));
    relaunchButton_->setText(localizer_.translate("PermissionBannerView", "VESK neu starten"));
    connect(relaunchButton_, &QPushButton::clicked, &model_, &SessionSetupModel::relaunchApp);
    row->addWidget(requestButton_, 1);
    row->addWidget(relaunchButton_, 1);
    return row;
}

void PermissionBannerView::refresh()
{
    const Texts current = texts(model_.hasInputMonitoringPermission(), model_.hasAccessibilityPermission(), localizer_);
    title_->setText(current.title);
    message_->setText(current.message);
    requestButton_->setText(current.requestButton);
}

} // namespace vesk
