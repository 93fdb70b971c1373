#include "panels/StageVeskBottomControlView.h"

#include "panels/SessionControlling.h"
#include "panels/StageVeskCard.h"
#include "panels/StageVeskDrawing.h"
#include "panels/StageVeskPalette.h"
#include "stage/StageVeskService.h"
#include "ui/FilledButton.h"
#include "ui/HardcoreLockBadge.h"

#include <QHBoxLayout>
#include <QLabel>

namespace vesk {

namespace {

using namespace stagepalette;

const char* const context = "StageVeskBottomControlView";

FilledButton::Look symbolLook(Symbol symbol, double opacity)
{
    FilledButton::Look look;
    look.textStyle.font = stageFont(13, QFont::Normal);
    look.textColor = white(opacity);
    look.symbol = symbol;
    return look;
}

FilledButton::Look leaveLook()
{
    FilledButton::Look look;
    look.textStyle.font = stageFont(11, QFont::Medium);
    look.textColor = leaveText();
    look.fill = leaveBackground();
    look.padding = QMarginsF(10, 6, 10, 6);
    look.cornerRadius = 7;
    return look;
}

FilledButton::Look confirmationLook(const QColor& background)
{
    FilledButton::Look look;
    look.textStyle.font = stageFont(10, QFont::Medium);
    look.textColor = white(0.88);
    look.fill = background;
    look.padding = QMarginsF(8, 6, 8, 6);
    look.cornerRadius = 7;
    return look;
}

} // namespace

StageVeskBottomControlView::StageVeskBottomControlView(SessionControlling& session, StageVeskService& stage,
                                                       StageVeskScreenID screenID,
                                                       std::function<void()> onToggleSettings, Clock& clock,
                                                       Scheduler& scheduler, const Localizer& localizer,
                                                       QWidget* parent)
    : QWidget(parent)
    , session_(&session)
    , stage_(&stage)
    , screenID_(screenID)
    , onToggleSettings_(std::move(onToggleSettings))
    , clock_(clock)
    , localizer_(localizer)
{
    // The card hugs its row and sits in the middle of the bar.
    card_ = new StageVeskCard(12, black(0.84), white(0.08), this);
    StageVeskCard* card = card_;
    auto* centring = new QHBoxLayout(this);
    centring->setContentsMargins(0, 0, 0, 0);
    centring->addWidget(card, 0, Qt::AlignCenter);
    auto* rows = new QHBoxLayout(card);
    rows->setContentsMargins(10, 0, 10, 0);
    normalRow_ = makeNormalRow(localizer);
    confirmationRow_ = makeConfirmationRow(localizer);
    normalRow_->setParent(card);
    confirmationRow_->setParent(card);
    rows->addWidget(normalRow_);
    rows->addWidget(confirmationRow_);
    confirmationRow_->hide();

    connect(&stage, &StageVeskService::stateChanged, this, &StageVeskBottomControlView::refresh);
    connect(&session, &SessionControlling::changed, this, &StageVeskBottomControlView::refresh);
    refresh();
    clockTick_ = std::make_unique<MainQueueTimer>(scheduler, 1.0, [this] { refreshClock(); });
    clockTick_->start();
}

QWidget* StageVeskBottomControlView::makeNormalRow(const Localizer& localizer)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    clockLabel_ = stageLabel({}, stageFont(12, QFont::Medium, true), white(0.85), row);
    countLabel_ = stageLabel({}, stageFont(10, QFont::Normal), white(0.52), row);
    layout->addWidget(clockLabel_);
    layout->addWidget(countLabel_);

    auto* add = new FilledButton({}, symbolLook(Symbol::plus, 0.72), row);
    add->setFixedSize(22, 22);
    add->setToolTip(localizer.translate("StageVeskBottomControlView", "App zur Session hinzufuegen"));
    connect(add, &FilledButton::clicked, this, [this] {
        if (session_)
            session_->toggleQuickAccessPanel(screenID_);
    });
    layout->addWidget(add);

    auto* settings = new FilledButton({}, symbolLook(Symbol::gearshape, 0.65), row);
    settings->setFixedSize(22, 22);
    settings->setAccessibleName(localizer.translate("StageVeskBottomControlView", "Einstellungen"));
    connect(settings, &FilledButton::clicked, this, [this] {
        if (onToggleSettings_)
            onToggleSettings_();
    });
    layout->addWidget(settings);

    leaveButton_ = new FilledButton(localizer.translate("StageVeskBottomControlView", "Verlassen"), leaveLook(), row);
    connect(leaveButton_, &FilledButton::clicked, this, [this] {
        if (session_)
            session_->requestManualExitConfirmation();
        setShowingExitConfirmation(true);
    });
    layout->addWidget(leaveButton_);

    // In the leave button's colours, without an action.
    auto* badge = new HardcoreLockBadge(localizer, row);
    badge->setColor(leaveText());
    badge->setBackground(leaveBackground(), 7);
    badge->setContentsMargins(10, 6, 10, 6);
    hardcoreBadge_ = badge;
    layout->addWidget(hardcoreBadge_);
    return row;
}

QWidget* StageVeskBottomControlView::makeConfirmationRow(const Localizer& localizer)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    struct Choice {
        const char* text;
        QColor background;
        std::function<void()> action;
    };
    const Choice choices[] = {
        {QT_TRANSLATE_NOOP("StageVeskBottomControlView", "Apps schliessen"), red(0.38),
         [this] {
             if (session_)
                 session_->confirmManualExit(SessionExitAppDisposition::terminateAllowedApps);
         }},
        {QT_TRANSLATE_NOOP("StageVeskBottomControlView", "Offen lassen"), white(0.14),
         [this] {
             if (session_)
                 session_->confirmManualExit(SessionExitAppDisposition::leaveOpen);
         }},
        {QT_TRANSLATE_NOOP("StageVeskBottomControlView", "Abbrechen"), white(0.08),
         [this] {
             if (session_)
                 session_->logManualExitConfirmationCanceled();
             setShowingExitConfirmation(false);
         }},
    };
    for (const Choice& choice : choices) {
        auto* button =
            new FilledButton(localizer.translate(context, choice.text), confirmationLook(choice.background), row);
        connect(button, &FilledButton::clicked, this, choice.action);
        layout->addWidget(button);
    }
    return row;
}

void StageVeskBottomControlView::setShowingExitConfirmation(bool showing)
{
    isShowingExitConfirmation_ = showing;
    // The outgoing row goes first: for a moment with both rows in, the card
    // would ask for more than the bar's width, and the panel would grow to it
    // and keep that width, with the card off the middle.
    QWidget* outgoing = showing ? normalRow_ : confirmationRow_;
    QWidget* incoming = showing ? confirmationRow_ : normalRow_;
    outgoing->hide();
    incoming->show();
}

void StageVeskBottomControlView::refresh()
{
    if (!session_ || !stage_)
        return;
    refreshClock();
    const int count = int(stage_->state().stagedBundleIDs().size());
    countLabel_->setText(localizer_.translate("StageVeskBottomControlView", "%n offen", nullptr, count));
    const bool hardcore = session_->isHardcoreSession();
    leaveButton_->setVisible(!hardcore);
    hardcoreBadge_->setVisible(hardcore);
}

void StageVeskBottomControlView::refreshClock()
{
    if (session_)
        clockLabel_->setText(session_->remainingTimeText(clock_.now()));
}

QString StageVeskBottomControlView::clockText() const
{
    return clockLabel_->text();
}

QString StageVeskBottomControlView::countText() const
{
    return countLabel_->text();
}

bool StageVeskBottomControlView::showsLeaveButton() const
{
    return !leaveButton_->isHidden();
}

bool StageVeskBottomControlView::showsHardcoreBadge() const
{
    return !hardcoreBadge_->isHidden();
}

} // namespace vesk
