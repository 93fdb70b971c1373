#include "panels/StageVeskSettingsControlView.h"

#include "panels/SessionControlling.h"
#include "panels/StageVeskCard.h"
#include "panels/StageVeskDrawing.h"
#include "panels/StageVeskPalette.h"
#include "settings/VeskDefaultsStore.h"
#include "stage/StageVeskService.h"
#include "ui/FilledButton.h"
#include "ui/ToggleSwitch.h"

#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vesk {

namespace {

using namespace stagepalette;

const char* const context = "StageVeskSettingsControlView";

struct FunctionRow {
    VeskScreenFunction function;
    const char* label;
};

constexpr FunctionRow functionRows[] = {
    {VeskScreenFunction::appsBar, QT_TRANSLATE_NOOP("StageVeskSettingsControlView", "Apps-Leiste (Reinholen)")},
    {VeskScreenFunction::targetMode, QT_TRANSLATE_NOOP("StageVeskSettingsControlView", "Ziel & Modus")},
    {VeskScreenFunction::controlBar, QT_TRANSLATE_NOOP("StageVeskSettingsControlView", "Steuerleiste")},
};

QWidget* divider(QWidget* parent)
{
    auto* line = new StageVeskCard(0, white(0.12), Qt::transparent, parent);
    line->setFixedHeight(1);
    return line;
}

// The toolkit's switch in the stage's blue, with a white knob.
const VeskTheme& switchTheme()
{
    static const VeskTheme theme = [] {
        VeskTheme tinted = VeskTheme::shared();
        tinted.accent = switchTint();
        tinted.accentText = Qt::white;
        tinted.insetStrong = white(0.2);
        tinted.hairlineStrong = Qt::transparent;
        tinted.textMuted = Qt::white;
        return tinted;
    }();
    return theme;
}

FilledButton::Look actionLook(Symbol symbol, const QColor& color)
{
    FilledButton::Look look;
    look.textStyle.font = stageFont(11, QFont::Medium);
    look.textColor = color;
    look.leadingIconSide = symbolSide(11);
    look.iconSpacing = 4;
    look.leadingIcon = [symbol, color](QPainter& painter, const QRectF& box) {
        paintSymbol(painter, symbol, box, color, QFont::Medium);
    };
    return look;
}

} // namespace

StageVeskSettingsControlView::StageVeskSettingsControlView(SessionControlling& session, StageVeskService& stage,
                                                           VeskDefaultsStore& defaults,
                                                           const platform::ScreenProviding& screens,
                                                           std::function<void()> onConfigChange,
                                                           std::function<void()> onClose, const Localizer& localizer,
                                                           QWidget* parent)
    : QWidget(parent)
    , session_(&session)
    , stage_(&stage)
    , defaults_(&defaults)
    , source_(defaults, std::move(onConfigChange))
    , onClose_(std::move(onClose))
    , localizer_(localizer)
{
    card_ = new StageVeskCard(14, black(0.90), white(0.10), this);
    StageVeskCard* card = card_;
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(card);
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(12);

    auto* header = new QHBoxLayout;
    header->addWidget(stageLabel(localizer.translate("StageVeskSettingsControlView", "Stage Vesk"),
                                 stageFont(14, QFont::DemiBold), white(0.9), card));
    header->addStretch(1);
    FilledButton::Look closeLook;
    closeLook.textStyle.font = stageFont(16, QFont::DemiBold);
    closeLook.textColor = white(0.6);
    auto* close = new FilledButton(QStringLiteral("×"), closeLook, card);
    connect(close, &FilledButton::clicked, this, [this] {
        if (onClose_)
            onClose_();
    });
    header->addWidget(close);
    column->addLayout(header);

    warningLabel_ = stageLabel({}, stageFont(11, QFont::Normal), amber(), card);
    warningLabel_->setWordWrap(true);
    column->addWidget(warningLabel_);

    column->addWidget(stageLabel(localizer.translate("StageVeskSettingsControlView", "Leisten pro Bildschirm"),
                                 stageFont(11, QFont::DemiBold), white(0.7), card));

    auto* scroll = new QScrollArea(card);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setStyleSheet(stageScrollAreaStyleSheet());
    scroll->setWidget(makeScreenSections(ScreenFunctionToggleSource::listScreens(screens), localizer));
    column->addWidget(scroll, 1);

    column->addWidget(divider(card));
    auto* bugReport = new FilledButton(localizer.translate("StageVeskSettingsControlView", "Bug melden"),
                                       actionLook(Symbol::exclamationmarkBubble, white(0.85)), card);
    bugReport->setToolTip(localizer.translate("StageVeskSettingsControlView",
                                              "Problem oder Feedback senden — auch während der Session."));
    connect(bugReport, &FilledButton::clicked, this, [this] {
        if (onClose_)
            onClose_();
        if (session_)
            session_->toggleBugReportPanel();
    });
    column->addWidget(bugReport, 0, Qt::AlignLeft);

    debugDivider_ = divider(card);
    column->addWidget(debugDivider_);
    debugStopButton_ = new FilledButton(localizer.translate("StageVeskSettingsControlView", "Debug: Hardcore beenden"),
                                        actionLook(Symbol::exclamationmarkTriangleFill, amber()), card);
    debugStopButton_->setToolTip(localizer.translate("StageVeskSettingsControlView",
                                                     "Nur für Entwicklung: Beendet die Hardcore-Session sofort."));
    connect(debugStopButton_, &FilledButton::clicked, this, [this] {
        if (session_)
            session_->debugForceStop();
    });
    column->addWidget(debugStopButton_, 0, Qt::AlignLeft);

    connect(&defaults, &VeskDefaultsStore::screenFunctionOverridesChanged, this,
            &StageVeskSettingsControlView::refresh);
    connect(&stage, &StageVeskService::accessibilityWarningChanged, this, &StageVeskSettingsControlView::refresh);
    connect(&session, &SessionControlling::changed, this, &StageVeskSettingsControlView::refresh);
    refresh();
}

QWidget*
StageVeskSettingsControlView::makeScreenSections(const std::vector<ScreenFunctionToggleSource::Screen>& screens,
                                                 const Localizer& localizer)
{
    auto* sections = new QWidget;
    auto* column = new QVBoxLayout(sections);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(14);
    for (const ScreenFunctionToggleSource::Screen& screen : screens) {
        auto* section = new QVBoxLayout;
        section->setSpacing(6);
        // A screen's own name is shown as the system gives it.
        QLabel* title =
            stageLabel(screen.isMain ? localizer.translate("StageVeskSettingsControlView", "Hauptbildschirm")
                                     : screen.name,
                       stageFont(10, QFont::DemiBold, true, 1.0), white(0.55), sections);
        sectionTitles_.push_back(title);
        section->addWidget(title);
        for (const FunctionRow& row : functionRows) {
            auto* line = new QHBoxLayout;
            line->setSpacing(8);
            line->addWidget(stageLabel(localizer.translate(context, row.label), stageFont(12, QFont::Normal),
                                       white(0.85), sections));
            line->addStretch(1);
            QLabel* badge = stageLabel({}, stageFont(10, QFont::Bold, true, 0.5), white(0.35), sections);
            line->addWidget(badge);
            auto* control = new ToggleSwitch(switchTheme(), sections);
            control->setAccessibleName(localizer.translate(context, row.label));
            connect(control, &ToggleSwitch::clicked, this, [this, screen, function = row.function](bool enabled) {
                source_.setEnabled(enabled, function, screen);
            });
            line->addWidget(control);
            section->addLayout(line);
            switchRows_.push_back(SwitchRow{screen, row.function, control, badge});
        }
        column->addLayout(section);
    }
    column->addStretch(1);
    return sections;
}

void StageVeskSettingsControlView::refresh()
{
    if (!session_ || !stage_ || !defaults_)
        return;
    for (const SwitchRow& row : switchRows_) {
        const bool enabled = source_.isEnabled(row.function, row.screen);
        row.control->setChecked(enabled);
        row.badge->setText(enabled ? localizer_.translate("StageVeskSettingsControlView", "AN")
                                   : localizer_.translate("StageVeskSettingsControlView", "AUS"));
        setLabelColor(*row.badge, enabled ? switchTint() : white(0.35));
    }
    const std::optional<QString>& warning = stage_->accessibilityWarning();
    warningLabel_->setText(warning.value_or(QString()));
    warningLabel_->setVisible(warning.has_value());
    const bool hardcore = session_->isHardcoreSession();
    debugDivider_->setVisible(hardcore);
    debugStopButton_->setVisible(hardcore);
}

bool StageVeskSettingsControlView::showsAccessibilityWarning() const
{
    return !warningLabel_->isHidden();
}

bool StageVeskSettingsControlView::showsDebugStop() const
{
    return !debugStopButton_->isHidden();
}

} // namespace vesk
