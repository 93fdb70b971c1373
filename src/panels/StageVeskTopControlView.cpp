#include "panels/StageVeskTopControlView.h"

#include "panels/SessionControlling.h"
#include "panels/StageVeskCard.h"
#include "panels/StageVeskDrawing.h"
#include "panels/StageVeskPalette.h"
#include "stage/StageVeskService.h"
#include "ui/FilledButton.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace vesk {

namespace {

using namespace stagepalette;

const char* const context = "StageVeskTopControlView";

struct ModeButton {
    StageVeskPhase phase;
    const char* glyph;
    const char* tooltip;
};

constexpr ModeButton modes[] = {
    {StageVeskPhase::focus, "1", QT_TRANSLATE_NOOP("StageVeskTopControlView", "Fokus")},
    {StageVeskPhase::split, "2", QT_TRANSLATE_NOOP("StageVeskTopControlView", "Split")},
    {StageVeskPhase::tri, "3", QT_TRANSLATE_NOOP("StageVeskTopControlView", "Tri")},
    {StageVeskPhase::quad, "4", QT_TRANSLATE_NOOP("StageVeskTopControlView", "Quad")},
    {StageVeskPhase::freestyle, "∞", QT_TRANSLATE_NOOP("StageVeskTopControlView", "Freestyle")},
};

FilledButton::Look modeLook(bool selected)
{
    FilledButton::Look look;
    look.textStyle.font = stageFont(10, QFont::DemiBold, true);
    look.textColor = selected ? orange() : white(0.55);
    look.fill = selected ? orange(0.2) : QColor(Qt::transparent);
    look.cornerRadius = 6;
    return look;
}

} // namespace

StageVeskTopControlView::StageVeskTopControlView(SessionControlling& session, StageVeskService& stage,
                                                 StageVeskScreenID screenID, const Localizer& localizer,
                                                 QWidget* parent)
    : QWidget(parent)
    , session_(&session)
    , stage_(&stage)
    , screenID_(screenID)
{
    // The card is as high as its row and spans the bar's width.
    card_ = new StageVeskCard(12, black(0.82), white(0.08), this);
    StageVeskCard* card = card_;
    auto* centring = new QVBoxLayout(this);
    centring->setContentsMargins(0, 0, 0, 0);
    centring->addWidget(card, 0, Qt::AlignVCenter);
    auto* row = new QHBoxLayout(card);
    row->setContentsMargins(12, 0, 12, 0);
    row->setSpacing(10);
    row->addWidget(stageLabel(localizer.translate("StageVeskTopControlView", "◎ ZIEL"),
                              stageFont(9, QFont::DemiBold, true, 1.2), orange(), card));
    goalLabel_ = stageLabel({}, stageFont(11, QFont::Medium), white(0.88), card);
    goalLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    goalLabel_->setMinimumWidth(0);
    goalLabel_->installEventFilter(this);
    row->addWidget(goalLabel_, 1);
    row->addSpacing(8);
    for (const ModeButton& mode : modes) {
        auto* button = new FilledButton(QString::fromUtf8(mode.glyph), modeLook(false), card);
        button->setFixedSize(28, 22);
        button->setToolTip(localizer.translate(context, mode.tooltip));
        connect(button, &FilledButton::clicked, this, [this, phase = mode.phase] {
            if (stage_)
                stage_->setPhase(phase, screenID_);
        });
        row->addWidget(button);
        modeButtons_[mode.phase] = button;
    }
    connect(&stage, &StageVeskService::stateChanged, this, &StageVeskTopControlView::refresh);
    connect(&session, &SessionControlling::changed, this, &StageVeskTopControlView::refresh);
    refresh();
}

void StageVeskTopControlView::refresh()
{
    if (!session_ || !stage_)
        return;
    goal_ = session_->currentGoal().value_or(QStringLiteral("Session"));
    fitGoal();
    const StageVeskPhase current = stage_->state().phase(screenID_);
    for (const auto& [phase, button] : modeButtons_)
        button->setLook(modeLook(phase == current));
}

void StageVeskTopControlView::fitGoal()
{
    goalLabel_->setText(goalLabel_->fontMetrics().elidedText(goal_, Qt::ElideRight, goalLabel_->width()));
}

QString StageVeskTopControlView::shownGoal() const
{
    return goalLabel_->text();
}

bool StageVeskTopControlView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == goalLabel_ && event->type() == QEvent::Resize)
        fitGoal();
    return QWidget::eventFilter(watched, event);
}

} // namespace vesk
