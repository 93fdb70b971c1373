#include "panels/AppLaunchPromptView.h"

#include "panels/SessionControlling.h"
#include "ui/FilledButton.h"
#include "ui/Gradient.h"
#include "ui/Shapes.h"
#include "ui/TextLabel.h"
#include "ui/VeskFont.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace vesk {

namespace {

constexpr int padding = 18;

TextStyle questionStyle()
{
    return {.font = VeskFont::interface(13, QFont::DemiBold),
            .lineLimit = 2,
            .minimumScaleFactor = 0.82,
            .alignment = Qt::AlignHCenter};
}

FilledButton::Look answerLook(const QColor& text, const QColor& fill)
{
    FilledButton::Look look =
        FilledButton::Look::filled(VeskFont::interface(12, QFont::DemiBold), text, fill, QMarginsF(0, 7, 0, 7));
    look.textStyle.minimumScaleFactor = 0.82;
    return look;
}

} // namespace

AppLaunchPromptView::AppLaunchPromptView(SessionControlling& session, AppLaunchPrompt prompt,
                                         const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , session_(session)
    , prompt_(std::move(prompt))
    , question_(new TextLabel(localizer.translate("AppLaunchPromptView", "%1 in den Vesk holen?").arg(prompt_.appName),
                              questionStyle(), rgb(255, 255, 255, 0.9)))
    , add_(new FilledButton(localizer.translate("AppLaunchPromptView", "Hinzufügen"),
                            answerLook(rgb(255, 255, 255, 0.95), rgb(76, 157, 245, 0.85))))
    , block_(new FilledButton(localizer.translate("AppLaunchPromptView", "Blockieren"),
                              answerLook(rgb(255, 255, 255, 0.8), rgb(255, 255, 255, 0.14))))
{
    setAttribute(Qt::WA_TranslucentBackground);
    for (FilledButton* button : {add_, block_})
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(add_, &QAbstractButton::clicked, this, [this] { answer(true); });
    connect(block_, &QAbstractButton::clicked, this, [this] { answer(false); });

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addWidget(add_);
    buttons->addWidget(block_);

    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    column->addWidget(question_);
    column->addLayout(buttons);

    // The content centred in the card.
    auto* card = new QVBoxLayout(this);
    card->setContentsMargins(padding, padding, padding, padding);
    card->setSpacing(0);
    card->addStretch();
    card->addWidget(content);
    card->addStretch();
}

void AppLaunchPromptView::answer(bool allow)
{
    logger_.log(VeskLogLevel::info, allow
                                        ? QStringLiteral("App-launch prompt — adding %1 to Vesk").arg(prompt_.bundleID)
                                        : QStringLiteral("App-launch prompt — blocking %1").arg(prompt_.bundleID));
    session_.confirmAppLaunchPrompt(allow);
}

void AppLaunchPromptView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath card = continuousRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 14);
    painter.fillPath(card, rgb(0, 0, 0, 0.88));
    painter.strokePath(card, strokePen(rgb(255, 255, 255, 0.1), 1));
}

} // namespace vesk
