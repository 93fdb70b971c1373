#include "setup/SetupHeaderView.h"

#include "setup/SessionSetupModel.h"
#include "setup/SymbolButton.h"
#include "ui/TextLabel.h"
#include "ui/VeskTheme.h"

#include <QHBoxLayout>
#include <QStackedLayout>

namespace vesk {

namespace {

SymbolButton* metaLineButton(Symbol symbol, const QString& tooltip, QWidget* parent)
{
    auto* button = new SymbolButton(symbol, 14, VeskTheme::shared().textMuted, parent);
    button->setToolTip(tooltip);
    button->setAccessibleName(tooltip);
    return button;
}

} // namespace

SetupHeaderView::SetupHeaderView(SessionSetupModel& model, const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(height);
    auto* layers = new QStackedLayout(this);
    layers->setStackingMode(QStackedLayout::StackAll);

    TextStyle titleStyle;
    titleStyle.font = VeskFont::interface(15);
    titleStyle.alignment = Qt::AlignHCenter;
    auto* title = new TextLabel(QStringLiteral("The Vesk"), titleStyle, VeskTheme::shared().textTitle, this);
    title->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* titleRow = new QWidget(this);
    titleRow->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* titleLayout = new QHBoxLayout(titleRow);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    titleLayout->addWidget(title, 1, Qt::AlignVCenter);

    auto* metaLine = new QWidget(this);
    metaLine->setAttribute(Qt::WA_TranslucentBackground);
    auto* metaLayout = new QHBoxLayout(metaLine);
    metaLayout->setContentsMargins(0, 0, 16, 0);
    metaLayout->setSpacing(12);
    metaLayout->addStretch(1);
    historyButton_ =
        metaLineButton(Symbol::clockArrowCirclepath, localizer.translate("SessionSetupView", "Verlauf"), metaLine);
    bugReportButton_ = metaLineButton(Symbol::exclamationmarkBubble,
                                      localizer.translate("SessionSetupView", "Problem melden"), metaLine);
    settingsButton_ =
        metaLineButton(Symbol::gearshape, localizer.translate("SessionSetupView", "Einstellungen"), metaLine);
    for (SymbolButton* button : {historyButton_, bugReportButton_, settingsButton_})
        metaLayout->addWidget(button, 0, Qt::AlignVCenter);

    // The title below, the buttons above it, so they take the clicks.
    layers->addWidget(titleRow);
    layers->addWidget(metaLine);
    metaLine->raise();

    connect(historyButton_, &QAbstractButton::clicked, &model, &SessionSetupModel::historyButtonTapped);
    connect(bugReportButton_, &QAbstractButton::clicked, &model, &SessionSetupModel::bugReportButtonTapped);
    connect(settingsButton_, &QAbstractButton::clicked, &model, &SessionSetupModel::settingsButtonTapped);
}

} // namespace vesk
