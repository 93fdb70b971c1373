#include "app/ActiveSessionView.h"

#include "core/Clock.h"
#include "session/SessionManager.h"
#include "ui/FilledButton.h"
#include "ui/TextLabel.h"
#include "ui/VeskFont.h"

#include <QPainter>
#include <QVBoxLayout>

namespace vesk {

namespace {

QColor white(double opacity)
{
    QColor color(Qt::white);
    color.setAlphaF(static_cast<float>(opacity));
    return color;
}

TextStyle centred(const QFont& font)
{
    return {.font = font, .alignment = Qt::AlignHCenter};
}

} // namespace

ActiveSessionView::ActiveSessionView(SessionManager& manager, const Clock& clock, Scheduler& scheduler,
                                     const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , manager_(manager)
    , clock_(clock)
    , ticker_(scheduler, openEndedTickSeconds, [this] { refresh(); })
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* content = new QWidget(this);
    content->setFixedSize(contentWidth, contentHeight);
    outer->addWidget(content, 0, Qt::AlignCenter);

    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(16);
    stack->addStretch(1);
    // The clock is shown as it is, never looked up.
    clockLabel_ = new TextLabel(QString(), centred(VeskFont::monospaced(48, QFont::Light)), white(0.6), content);
    stack->addWidget(clockLabel_);
    stack->addWidget(new TextLabel(localizer.translate("ActiveSessionView", "Session aktiv"),
                                   centred(VeskFont::interface(10)), white(0.3), content));
    stopButton_ = new FilledButton(localizer.translate("ActiveSessionView", "Session beenden"),
                                   FilledButton::Look::filled(VeskFont::interface(10), white(0.3)), content);
    stopButton_->setCursor(Qt::PointingHandCursor);
    stopButton_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* buttonRow = new QVBoxLayout();
    buttonRow->setContentsMargins(0, 20, 0, 0);
    buttonRow->addWidget(stopButton_, 0, Qt::AlignHCenter);
    stack->addLayout(buttonRow);
    stack->addStretch(1);

    connect(stopButton_, &QAbstractButton::clicked, this,
            [this] { manager_.stopSession(SessionStopReason::manualStop, SessionExitAppDisposition::leaveOpen); });
    connect(&manager_, &SessionManager::remainingSecondsChanged, this, &ActiveSessionView::refresh);
    connect(&manager_, &SessionManager::isHardcoreSessionChanged, this, &ActiveSessionView::refresh);
    connect(&manager_, &SessionManager::isSessionActiveChanged, this, &ActiveSessionView::refresh);
    refresh();
}

QString ActiveSessionView::clockText() const
{
    return manager_.remainingTimeText(clock_.now());
}

void ActiveSessionView::refresh()
{
    clockLabel_->setText(clockText());
    stopButton_->setVisible(!manager_.isHardcoreSession());
    updateTicker();
}

void ActiveSessionView::updateTicker()
{
    // A countdown redraws with the manager's seconds; an open-ended clock ticks itself.
    if (isVisible() && manager_.isOpenEndedSession())
        ticker_.start();
    else
        ticker_.stop();
}

void ActiveSessionView::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), Qt::black);
}

void ActiveSessionView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
}

void ActiveSessionView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    ticker_.stop();
}

} // namespace vesk
