#include "screens/SessionReflectionView.h"

#include "core/Clock.h"
#include "screens/ReflectionChip.h"
#include "ui/ScaleFadeEffect.h"
#include "screens/ScreenWidgets.h"
#include "ui/Gradient.h"
#include "ui/ImageEffects.h"
#include "ui/ReducedMotion.h"
#include "ui/Shapes.h"
#include "ui/StyleSheetColor.h"
#include "ui/Symbol.h"
#include "ui/TextLabel.h"
#include "ui/VeskFont.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

#include <cmath>

namespace vesk {

namespace {

constexpr const char* context = "SessionReflectionView";
constexpr double frameInterval = 1.0 / 60;
constexpr int sectionSpacing = 14;

QPushButton* plainButton(const QString& text, const QFont& font)
{
    auto* button = new QPushButton(text);
    button->setFont(font);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFlat(true);
    return button;
}

QString plainButtonStyle(const QColor& color, const QColor& disabledColor)
{
    return QStringLiteral("QPushButton { color: %1; background: transparent; border: none; padding: 0; text-align: "
                          "left; } QPushButton:disabled { color: %2; }")
        .arg(styleSheetColor(color), styleSheetColor(disabledColor));
}

} // namespace

template <typename Value>
void SessionReflectionView::addChoiceRow(QWidget& section, const std::vector<std::pair<Value, Answer>>& answers,
                                         std::map<Value, ReflectionChip*>& chips,
                                         void (SessionReflectionModel::*toggle)(Value))
{
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    for (const auto& [value, answer] : answers) {
        auto* chip =
            new ReflectionChip(localized(answer.text), ReflectionChip::Kind::choice, theme_.*answer.tint, theme_);
        connect(chip, &QAbstractButton::clicked, this,
                [this, toggle, chosen = value] { (model_.get()->*toggle)(chosen); });
        chips[value] = chip;
        row->addWidget(chip, 1);
    }
    static_cast<QVBoxLayout*>(section.layout())->addLayout(row);
}

SessionReflectionView::SessionReflectionView(std::unique_ptr<SessionReflectionModel> model, const Motion& motion,
                                             Localizer localizer, QWidget* parent)
    : QWidget(parent)
    , model_(std::move(model))
    , localizer_(std::move(localizer))
    , clock_(motion.clock)
    , reducedMotion_(motion.reducedMotion)
    , frames_(motion.scheduler, frameInterval, [this] { frame(); })
{
    setAttribute(Qt::WA_TranslucentBackground);
    card_ = makeCard();
    card_->setParent(this);
    cardEffect_ = new ScaleFadeEffect(clock_, cardHiddenScale, card_);
    card_->setGraphicsEffect(cardEffect_);
    reasonEffect_ = new ScaleFadeEffect(clock_, reasonHiddenScale, reasonSection_);
    reasonSection_->setGraphicsEffect(reasonEffect_);
    reasonEffect_->moveTo(false, 0);

    // Escape dismisses wherever the focus is in the window, the note included.
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WindowShortcut);
    connect(escape_, &QShortcut::activated, model_.get(), &SessionReflectionModel::later);
    connect(model_.get(), &SessionReflectionModel::changed, this, &SessionReflectionView::refresh);
    refresh();

    cardEffect_->moveTo(false, 0);
    cardEffect_->moveTo(true, transitionSeconds(cardTransitionSeconds));
    frame();
}

SessionReflectionView::~SessionReflectionView() = default;

QString SessionReflectionView::localized(const char* text) const
{
    return localizer_.translate(context, text);
}

QWidget* SessionReflectionView::makeCard()
{
    auto* card = new QWidget;
    card->setFixedWidth(cardWidth);
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(makeHeader());

    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("content"));
    auto* sections = new QVBoxLayout(content);
    sections->setContentsMargins(18, 0, 18, 4);
    sections->setSpacing(0);
    if (model_->showsGoalQuestion()) {
        sections->addWidget(makeGoalSection());
        sections->addSpacing(sectionSpacing);
    }
    sections->addWidget(makeHelpfulSection());
    // The slot holds the spacing above the reason section, so that the
    // spacing comes and goes with it.
    reasonSlot_ = new QWidget;
    reasonSection_ = makeReasonSection();
    reasonSection_->setParent(reasonSlot_);
    reasonSlot_->installEventFilter(this);
    sections->addWidget(reasonSlot_);
    sections->addSpacing(sectionSpacing);
    sections->addWidget(makeNoteArea());
    sections->addStretch(1);

    scrollArea_ = new QScrollArea;
    scrollArea_->setWidget(content);
    styleScrollArea(*scrollArea_, theme_);
    content->setStyleSheet(QStringLiteral("QWidget#content { background: transparent; }"));
    column->addWidget(scrollArea_, 1);

    column->addWidget(screenRule(theme_.hairline));
    column->addLayout(makeFooter());
    return card;
}

QLayout* SessionReflectionView::makeHeader()
{
    auto* header = new QVBoxLayout;
    header->setContentsMargins(18, 18, 18, 12);
    header->setSpacing(5);
    const QColor accent = model_->endedByEmergencyExit() ? theme_.danger : theme_.accent;
    header->addWidget(screenLabel(localized(model_->headerTitle()) + model_->headerTimes(),
                                  VeskFont::monospaced(10, QFont::DemiBold), accent, 1, 1.0));
    header->addWidget(screenLabel(localizer_.translate("SessionReflectionView", "Vesk beendet"),
                                  VeskFont::interface(18, QFont::DemiBold), theme_.textPrimary));
    return header;
}

QWidget* SessionReflectionView::makeSection()
{
    auto* section = new QWidget;
    section->setObjectName(QStringLiteral("section"));
    section->setAttribute(Qt::WA_StyledBackground);
    section->setStyleSheet(QStringLiteral("QWidget#section { background: %1; border: 1px solid %2; border-radius: "
                                          "12px; }")
                               .arg(styleSheetColor(theme_.inset), styleSheetColor(theme_.hairline)));
    auto* stack = new QVBoxLayout(section);
    stack->setContentsMargins(12, 12, 12, 12);
    stack->setSpacing(9);
    return section;
}

QWidget* SessionReflectionView::makeGoalSection()
{
    QWidget* section = makeSection();
    auto* caption = new QVBoxLayout;
    caption->setSpacing(3);
    caption->addWidget(screenLabel(localizer_.translate("SessionReflectionView", "ZIEL"),
                                   VeskFont::monospaced(10, QFont::DemiBold), theme_.accent, 1, 1.4));
    TextLabel* goal =
        screenLabel(*model_->prompt().goalText, VeskFont::interface(14, QFont::Medium), theme_.textPrimary, 2);
    goal->setToolTip(*model_->prompt().goalText);
    caption->addWidget(goal);
    static_cast<QVBoxLayout*>(section->layout())->addLayout(caption);

    const std::vector<std::pair<GoalStatus, Answer>> answers = {
        {GoalStatus::done, {QT_TRANSLATE_NOOP("SessionReflectionView", "Erledigt"), &VeskTheme::ok}},
        {GoalStatus::partial, {QT_TRANSLATE_NOOP("SessionReflectionView", "Teilweise"), &VeskTheme::warn}},
        {GoalStatus::failed, {QT_TRANSLATE_NOOP("SessionReflectionView", "Nicht geschafft"), &VeskTheme::danger}},
    };
    addChoiceRow(*section, answers, goalChips_, &SessionReflectionModel::toggleGoalStatus);
    return section;
}

QWidget* SessionReflectionView::makeHelpfulSection()
{
    QWidget* section = makeSection();
    section->layout()->addWidget(screenLabel(localizer_.translate("SessionReflectionView", "War The Vesk hilfreich?"),
                                             VeskFont::interface(13, QFont::Medium), theme_.textMuted));
    const std::vector<std::pair<VeskHelpful, Answer>> answers = {
        {VeskHelpful::yes, {QT_TRANSLATE_NOOP("SessionReflectionView", "Ja"), &VeskTheme::ok}},
        {VeskHelpful::somewhat, {QT_TRANSLATE_NOOP("SessionReflectionView", "Etwas"), &VeskTheme::warn}},
        {VeskHelpful::no, {QT_TRANSLATE_NOOP("SessionReflectionView", "Nein"), &VeskTheme::danger}},
    };
    addChoiceRow(*section, answers, helpfulChips_, &SessionReflectionModel::toggleHelpful);
    return section;
}

QWidget* SessionReflectionView::makeReasonSection()
{
    QWidget* section = makeSection();
    section->layout()->addWidget(screenLabel(localizer_.translate("SessionReflectionView", "Woran lag es?"),
                                             VeskFont::interface(13, QFont::Medium), theme_.textMuted));
    const std::vector<std::pair<ReflectionReasonCategory, const char*>> reasons = {
        {ReflectionReasonCategory::distractionGotThrough,
         QT_TRANSLATE_NOOP("SessionReflectionView", "Ablenkung kam trotzdem durch")},
        {ReflectionReasonCategory::veskDisturbed, QT_TRANSLATE_NOOP("SessionReflectionView", "VESK hat mich gestört")},
        {ReflectionReasonCategory::goalUnclear, QT_TRANSLATE_NOOP("SessionReflectionView", "Ziel war unklar")},
        {ReflectionReasonCategory::technicalProblem, QT_TRANSLATE_NOOP("SessionReflectionView", "Technisches Problem")},
        {ReflectionReasonCategory::other, QT_TRANSLATE_NOOP("SessionReflectionView", "Anderes")},
    };
    auto* grid = new QGridLayout;
    grid->setSpacing(6);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    for (size_t index = 0; index < reasons.size(); ++index) {
        const auto [reason, text] = reasons[index];
        auto* chip = new ReflectionChip(localized(text), ReflectionChip::Kind::reason, theme_.accent, theme_);
        connect(chip, &QAbstractButton::clicked, this, [this, value = reason] { model_->toggleReason(value); });
        reasonChips_[reason] = chip;
        if (reason == ReflectionReasonCategory::other)
            grid->addWidget(chip, 2, 0, 1, 2);
        else
            grid->addWidget(chip, static_cast<int>(index / 2), static_cast<int>(index % 2));
    }
    static_cast<QVBoxLayout*>(section->layout())->addLayout(grid);
    return section;
}

QWidget* SessionReflectionView::makeNoteArea()
{
    auto* area = new QWidget;
    auto* stack = new QVBoxLayout(area);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(8);

    addNoteButton_ = plainButton(localizer_.translate("SessionReflectionView", "Notiz hinzufügen"),
                                 VeskFont::interface(12, QFont::Medium));
    addNoteButton_->setIcon(symbolPixmap(Symbol::plus, 10, theme_.accent, QFont::DemiBold, devicePixelRatioF()));
    const int iconSide = static_cast<int>(std::ceil(symbolSide(10)));
    addNoteButton_->setIconSize(QSize(iconSide, iconSide));
    addNoteButton_->setStyleSheet(plainButtonStyle(theme_.accent, theme_.accent));
    // The note opens ready for typing, in view.
    connect(addNoteButton_, &QPushButton::clicked, this, [this] {
        model_->expandNote();
        noteEditor_->setFocus();
        scrollArea_->ensureWidgetVisible(noteEditor_);
    });
    stack->addWidget(addNoteButton_, 0, Qt::AlignLeft);

    noteEditor_ = new QPlainTextEdit;
    noteEditor_->setFont(VeskFont::interface(12));
    noteEditor_->setFixedHeight(74);
    noteEditor_->document()->setDocumentMargin(0);
    noteEditor_->setStyleSheet(QStringLiteral("QPlainTextEdit { color: %1; background: %2; border: 1px solid %3; "
                                              "border-radius: 10px; padding: 8px; selection-background-color: %4; }")
                                   .arg(styleSheetColor(theme_.textPrimary), styleSheetColor(theme_.inset),
                                        styleSheetColor(theme_.hairline), styleSheetColor(theme_.accentTint)));
    noteEditor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    styleScrollBar(*noteEditor_->verticalScrollBar(), theme_);
    connect(noteEditor_, &QPlainTextEdit::textChanged, this,
            [this] { model_->setNoteText(noteEditor_->toPlainText()); });
    stack->addWidget(noteEditor_);

    noteCounter_ = screenLabel({}, VeskFont::interface(10, QFont::Medium), theme_.textSecondary);
    stack->addWidget(noteCounter_, 0, Qt::AlignRight);
    return area;
}

QLayout* SessionReflectionView::makeFooter()
{
    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(18, 12, 18, 14);
    auto* later =
        plainButton(localizer_.translate("SessionReflectionView", "Später"), VeskFont::interface(12, QFont::Medium));
    later->setStyleSheet(plainButtonStyle(theme_.textSecondary, theme_.textSecondary));
    connect(later, &QPushButton::clicked, model_.get(), &SessionReflectionModel::later);
    saveButton_ =
        plainButton(localizer_.translate("SessionReflectionView", "Speichern"), VeskFont::interface(12, QFont::Bold));
    saveButton_->setStyleSheet(plainButtonStyle(theme_.accent, theme_.textDim));
    connect(saveButton_, &QPushButton::clicked, model_.get(), &SessionReflectionModel::save);
    footer->addWidget(later, 0, Qt::AlignVCenter);
    footer->addStretch(1);
    footer->addWidget(saveButton_, 0, Qt::AlignVCenter);
    return footer;
}

void SessionReflectionView::refresh()
{
    for (const auto& [status, chip] : goalChips_)
        chip->setSelected(model_->selectedGoalStatus() == status);
    for (const auto& [helpful, chip] : helpfulChips_)
        chip->setSelected(model_->selectedVeskHelpful() == helpful);
    for (const auto& [reason, chip] : reasonChips_)
        chip->setSelected(model_->selectedReason() == reason);
    if (model_->showsReasonQuestion() != reasonEffect_->isHeadingToShown()) {
        reasonEffect_->moveTo(model_->showsReasonQuestion(), transitionSeconds(reasonTransitionSeconds));
        frame();
    }
    addNoteButton_->setVisible(!model_->isNoteExpanded());
    noteEditor_->setVisible(model_->isNoteExpanded());
    noteCounter_->setVisible(model_->isNoteExpanded());
    if (noteEditor_->toPlainText() != model_->noteText()) {
        // The model cut what was typed or pasted back to the limit.
        noteEditor_->setPlainText(model_->noteText());
        noteEditor_->moveCursor(QTextCursor::End);
    }
    noteCounter_->setText(localizer_.translate("SessionReflectionView", "%1 / %2")
                              .arg(model_->noteCharacterCount())
                              .arg(SessionReflectionModel::noteLimit));
    saveButton_->setEnabled(model_->canSave());
    placeCard();
}

void SessionReflectionView::placeCard()
{
    QWidget* content = scrollArea_->widget();
    content->adjustSize();
    const int chrome = card_->layout()->sizeHint().height() - scrollArea_->sizeHint().height();
    const int height = std::min(cardMaximumHeight, chrome + content->sizeHint().height());
    card_->setFixedHeight(height);
    card_->move((width() - cardWidth) / 2, (this->height() - height) / 2);
    update();
}

void SessionReflectionView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeCard();
}

bool SessionReflectionView::eventFilter(QObject* watched, QEvent* event)
{
    // The section keeps its full height in a slot that may be lower.
    if (watched == reasonSlot_ && event->type() == QEvent::Resize)
        reasonSection_->setGeometry(0, sectionSpacing, reasonSlot_->width(), reasonSection_->sizeHint().height());
    return QWidget::eventFilter(watched, event);
}

void SessionReflectionView::leave()
{
    if (leaving_)
        return;
    leaving_ = true;
    setAttribute(Qt::WA_TransparentForMouseEvents);
    escape_->setEnabled(false);
    cardEffect_->moveTo(false, transitionSeconds(cardTransitionSeconds));
    frame();
}

double SessionReflectionView::transitionSeconds(double seconds) const
{
    return reducedMotion_.isOn() ? 0 : seconds;
}

// One frame of the card's and the reason section's transitions; the last
// one leaves them still, and a card that has gone says so.
void SessionReflectionView::frame()
{
    cardEffect_->settle();
    reasonEffect_->settle();
    fitReasonSlot();
    update();
    if (cardEffect_->isMoving() || reasonEffect_->isMoving()) {
        frames_.start();
        return;
    }
    frames_.stop();
    if (!cardEffect_->isHeadingToShown() && !hasLeft_) {
        hasLeft_ = true;
        emit left();
    }
}

void SessionReflectionView::fitReasonSlot()
{
    const int fullHeight = sectionSpacing + reasonSection_->sizeHint().height();
    const int height = static_cast<int>(std::lround(fullHeight * reasonEffect_->presence()));
    reasonSlot_->setVisible(reasonEffect_->isHeadingToShown() || reasonEffect_->isMoving());
    reasonSlot_->setFixedHeight(height);
    placeCard();
}

void SessionReflectionView::mousePressEvent(QMouseEvent* event)
{
    // Clicks on the card that no control takes arrive here too; only the
    // backdrop dismisses.
    event->accept();
    if (!card_->geometry().contains(event->position().toPoint()))
        model_->later();
}

void SessionReflectionView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The backdrop fades with the card.
    painter.setOpacity(cardEffect_->opacity());
    painter.fillRect(rect(), QColor(0, 0, 0, static_cast<int>(0.55 * 255)));
    // The thin material over the dimmed window: a faint grey veil.
    painter.fillRect(rect(), withOpacity(theme_.panelBottom, 0.35 * 0.5));

    // The card's background moves as the card's effect moves its content.
    const QPointF centre = QRectF(card_->geometry()).center();
    painter.translate(centre);
    painter.scale(cardEffect_->scale(), cardEffect_->scale());
    painter.translate(-centre);
    const QRectF cardRect = QRectF(card_->geometry()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath outline = continuousRoundedRect(cardRect, 18);
    paintLayer(painter, cardRect,
               LayerEffects::shadowed(Shadow{QColor(0, 0, 0, static_cast<int>(0.45 * 255)), 28, QPointF(0, 16)}),
               [&](QPainter& layer) {
                   layer.setRenderHint(QPainter::Antialiasing);
                   layer.fillPath(outline, theme_.windowGradient.in(cardRect));
               });
    painter.strokePath(outline, strokePen(theme_.hairlineStrong, 1));
}

} // namespace vesk
