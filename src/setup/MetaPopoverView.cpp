#include "setup/MetaPopoverView.h"

#include "core/Scheduler.h"
#include "settings/DurationDefaults.h"
#include "setup/DurationPill.h"
#include "setup/SessionSetupModel.h"
#include "store/GoalRule.h"
#include "ui/Shapes.h"
#include "ui/StyleSheetColor.h"
#include "ui/Symbol.h"
#include "ui/TextLabel.h"
#include "ui/ToggleSwitch.h"
#include "ui/VeskFont.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace vesk {

namespace {

constexpr double goalFieldHorizontalPadding = 10;
constexpr double goalFieldVerticalPadding = 8;
constexpr int goalFieldMaximumLines = 2;

TextLabel* label(const QString& text, const QFont& font, const QColor& color, double tracking = 0)
{
    return new TextLabel(text, {.font = font, .tracking = tracking}, color);
}

QLabel* symbolLabel(Symbol symbol, double pointSize, const QColor& color, QFont::Weight weight, double dpr)
{
    auto* view = new QLabel;
    view->setPixmap(symbolPixmap(symbol, pointSize, color, weight, dpr));
    const int side = static_cast<int>(std::ceil(symbolSide(pointSize)));
    view->setFixedSize(side, side);
    return view;
}

} // namespace

MetaPopoverView::MetaPopoverView(SessionSetupModel& model, Scheduler& scheduler, bool focusGoalOnAppear,
                                 std::function<void()> onDismiss, const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , scheduler_(scheduler)
    , focusGoalOnAppear_(focusGoalOnAppear)
    , onDismiss_(std::move(onDismiss))
    , localizer_(localizer)
{
    setFixedWidth(popoverWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 14, 16, 14);
    column->setSpacing(14);
    column->addLayout(makeHeader());
    column->addLayout(makeDurationSection());
    column->addWidget(makeDivider());
    column->addLayout(makeHardcoreRow());
    column->addWidget(makeDivider());
    column->addLayout(makeGoalSection());
    column->setSizeConstraint(QLayout::SetFixedSize);

    connect(&model_, &SessionSetupModel::changed, this, &MetaPopoverView::refresh);
    refresh();
}

QColor MetaPopoverView::counterColor(int characterCount, const VeskTheme& theme)
{
    if (characterCount >= 76)
        return QColor::fromRgbF(1.0F, 69.0F / 255, 58.0F / 255);
    if (characterCount >= 60)
        return theme.accent;
    return theme.textSecondary;
}

QString MetaPopoverView::pillLabel(const std::optional<int>& minutes)
{
    return minutes ? QString::number(*minutes) : QStringLiteral("∞");
}

QLayout* MetaPopoverView::makeHeader()
{
    auto* header = new QHBoxLayout;
    header->addWidget(label(localizer_.translate("MetaPopoverView", "Fuer diese Session"),
                            VeskFont::interface(12, QFont::DemiBold), theme_.textSecondary, 1),
                      0, Qt::AlignVCenter);
    header->addStretch(1);
    auto* close = new QToolButton;
    const int side = static_cast<int>(std::ceil(symbolSide(11)));
    close->setIcon(symbolPixmap(Symbol::xmark, 11, theme_.textMuted, QFont::DemiBold, devicePixelRatioF()));
    close->setIconSize(QSize(side, side));
    close->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; padding: 0; }"));
    close->setCursor(Qt::PointingHandCursor);
    close->setFocusPolicy(Qt::NoFocus);
    close->setToolTip(localizer_.translate("MetaPopoverView", "Schliessen"));
    connect(close, &QToolButton::clicked, this, [this] { onDismiss_(); });
    closeButton_ = close;
    header->addWidget(close, 0, Qt::AlignVCenter);
    return header;
}

QLayout* MetaPopoverView::makeDurationSection()
{
    auto* section = new QVBoxLayout;
    section->setSpacing(6);
    section->addWidget(label(localizer_.translate("MetaPopoverView", "DAUER"), VeskFont::interface(10, QFont::DemiBold),
                             theme_.textSecondary, 1.32));
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    for (const DurationDefaults::Option& option : DurationDefaults::options()) {
        auto* pill = new DurationPill(pillLabel(option.minutes), false);
        const qint64 seconds = option.seconds;
        connect(pill, &QAbstractButton::clicked, this, [this, seconds] { model_.setSessionDuration(seconds); });
        pill->setProperty("seconds", seconds);
        row->addWidget(pill, 1);
        pills_.push_back(pill);
    }
    section->addLayout(row);
    return section;
}

QWidget* MetaPopoverView::makeDivider()
{
    auto* divider = new QWidget;
    divider->setFixedHeight(1);
    divider->setAttribute(Qt::WA_StyledBackground);
    divider->setStyleSheet(QStringLiteral("background: %1;").arg(styleSheetColor(theme_.hairline)));
    return divider;
}

QLayout* MetaPopoverView::makeHardcoreRow()
{
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(symbolLabel(Symbol::lockFill, 12, theme_.accent, QFont::Normal, devicePixelRatioF()), 0,
                   Qt::AlignVCenter);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    texts->addWidget(label(localizer_.translate("MetaPopoverView", "Hardcore-Modus"),
                           VeskFont::interface(12, QFont::Medium), theme_.textPrimary));
    texts->addWidget(label(localizer_.translate("MetaPopoverView", "Kein vorzeitiges Beenden moeglich"),
                           VeskFont::interface(10), theme_.textSecondary));
    row->addLayout(texts);
    row->addStretch(1);
    hardcoreSwitch_ = new ToggleSwitch(theme_);
    hardcoreSwitch_->setFocusPolicy(Qt::NoFocus);
    // Only the user's click reaches the model: following the model must not
    // write back into it (the summary line rebuilds this view on every change).
    connect(hardcoreSwitch_, &QAbstractButton::clicked, this, [this](bool on) { model_.setSessionHardcore(on); });
    row->addWidget(hardcoreSwitch_, 0, Qt::AlignVCenter);
    return row;
}

QLayout* MetaPopoverView::makeGoalSection()
{
    auto* section = new QVBoxLayout;
    section->setSpacing(7);
    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(label(localizer_.translate("MetaPopoverView", "Ziel — optional"),
                                VeskFont::interface(10, QFont::DemiBold), theme_.textSecondary, 1.32),
                          0, Qt::AlignBottom);
    captionRow->addStretch(1);
    counter_ = label({}, VeskFont::interface(10, QFont::Medium), theme_.textSecondary);
    captionRow->addWidget(counter_, 0, Qt::AlignBottom);
    section->addLayout(captionRow);

    goalField_ = new QPlainTextEdit;
    goalField_->setFont(VeskFont::interface(12));
    goalField_->setPlaceholderText(localizer_.translate("MetaPopoverView", "Was willst du erledigen?"));
    goalField_->setFrameShape(QFrame::NoFrame);
    goalField_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    goalField_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    goalField_->setTabChangesFocus(true);
    // Only a click or the focus on appear put the focus here, not the window's activation.
    goalField_->setFocusPolicy(Qt::ClickFocus);
    goalField_->document()->setDocumentMargin(0);
    goalField_->setStyleSheet(
        QStringLiteral("QPlainTextEdit { color: %1; background: transparent; border: none; padding: %2px %3px; "
                       "selection-background-color: %4; }")
            .arg(styleSheetColor(theme_.textPrimary))
            .arg(goalFieldVerticalPadding)
            .arg(goalFieldHorizontalPadding)
            .arg(styleSheetColor(theme_.accentTint)));
    QPalette palette = goalField_->palette();
    palette.setColor(QPalette::PlaceholderText, theme_.textDim);
    goalField_->setPalette(palette);
    goalField_->installEventFilter(this);
    connect(goalField_, &QPlainTextEdit::textChanged, this, &MetaPopoverView::goalFieldEdited);
    section->addWidget(goalField_);
    fitGoalField();
    return section;
}

void MetaPopoverView::goalFieldEdited()
{
    model_.setSessionGoalText(goalField_->toPlainText());
    fitGoalField();
}

void MetaPopoverView::submitGoal()
{
    model_.setSessionGoalText(model_.sessionGoalText().trimmed());
}

void MetaPopoverView::setDrawsBackground(bool draws)
{
    drawsBackground_ = draws;
    update();
}

void MetaPopoverView::refresh()
{
    for (DurationPill* pill : pills_)
        pill->setSelected(pill->property("seconds").toLongLong() == model_.sessionDuration());
    if (hardcoreSwitch_->isChecked() != model_.sessionHardcore())
        hardcoreSwitch_->setChecked(model_.sessionHardcore());

    const QString& goal = model_.sessionGoalText();
    if (goalField_->toPlainText() != goal) {
        // The model cut the text (a paste beyond the limit) or set it anew.
        const QSignalBlocker quiet(goalField_);
        goalField_->setPlainText(goal);
        goalField_->moveCursor(QTextCursor::End);
        fitGoalField();
    }
    const int count = userCharacterCount(goal);
    counter_->setText(localizer_.translate("MetaPopoverView", "%1 / %2").arg(count).arg(goalLimit));
    counter_->setColor(counterColor(count, theme_));
}

void MetaPopoverView::fitGoalField()
{
    const QFontMetricsF metrics(goalField_->font());
    const double width = popoverWidth - 32 - 2 * goalFieldHorizontalPadding;
    const QString text = goalField_->toPlainText().isEmpty() ? QStringLiteral("A") : goalField_->toPlainText();
    const double textHeight = metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height();
    const int lines =
        std::clamp(static_cast<int>(std::lround(textHeight / metrics.lineSpacing())), 1, goalFieldMaximumLines);
    goalField_->setFixedHeight(
        static_cast<int>(std::ceil(lines * metrics.lineSpacing() + 2 * goalFieldVerticalPadding + 2)));
}

bool MetaPopoverView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == goalField_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool isReturn = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // Return submits; with Shift or Option it breaks the line.
        if (isReturn && !(key->modifiers() & (Qt::ShiftModifier | Qt::AltModifier))) {
            submitGoal();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MetaPopoverView::keyPressEvent(QKeyEvent* event)
{
    // Escape presses the close button, wherever the focus is in the popover.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        closeButton_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MetaPopoverView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!focusGoalOnAppear_)
        return;
    QPointer<QPlainTextEdit> field = goalField_;
    scheduler_.async([field] {
        if (field)
            field->setFocus(Qt::PopupFocusReason);
    });
}

void MetaPopoverView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (drawsBackground_)
        painter.fillRect(rect(), theme_.bgBottom);
    const QRectF field = QRectF(goalField_->geometry()).adjusted(0.25, 0.25, -0.25, -0.25);
    painter.fillPath(continuousRoundedRect(field, 8), theme_.inset);
    painter.strokePath(continuousRoundedRect(field, 8), strokePen(theme_.hairline, 0.5));
}

} // namespace vesk
