#include "panels/StageVeskControlPanel.h"

#include "panels/StageVeskCard.h"
#include "platform/WindowLevel.h"

#include <QEvent>
#include <QVBoxLayout>

namespace vesk {

namespace {

PanelWindow::Configuration controlPanelConfiguration()
{
    PanelWindow::Configuration configuration;
    configuration.title = QStringLiteral("StageVesk Controls");
    configuration.level = StageVeskControlPanel::windowLevel();
    // Opaque over black: the bars stand on the session's black overlay, and a
    // see-through top-level window would black out the overlay's holes on a
    // window system without compositing.
    configuration.opaque = true;
    return configuration;
}

} // namespace

StageVeskControlPanel::StageVeskControlPanel(const Rect& cocoaFrame, bool dropsShadow,
                                             const platform::ScreenProviding& screens,
                                             platform::OwnWindowRegistering* ownWindows)
    : PanelWindow(controlPanelConfiguration(), cocoaFrame, screens, ownWindows)
    , dropsShadow_(dropsShadow)
    , host_(new QWidget)
{
    auto* layout = new QVBoxLayout(host_);
    layout->setContentsMargins(0, 0, 0, 0);
    setContentView(host_);
}

int StageVeskControlPanel::windowLevel()
{
    static const int level = platform::shieldingWindowLevel() + 2;
    return level;
}

void StageVeskControlPanel::setContent(QWidget* content)
{
    if (content_ && content_ != content) {
        content_->hide();
        content_->deleteLater();
    }
    content_ = content;
    host_->layout()->addWidget(content);
    content->show();
    orderFrontRegardless();
}

void StageVeskControlPanel::shapeToCard(StageVeskCard* card)
{
    if (shapingCard_)
        shapingCard_->removeEventFilter(this);
    shapingCard_ = card;
    card->installEventFilter(this);
    followCardShape();
}

bool StageVeskControlPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == shapingCard_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        followCardShape();
    return PanelWindow::eventFilter(watched, event);
}

// A card not laid out yet has no size; an empty shape would show the whole panel.
void StageVeskControlPanel::followCardShape()
{
    const QRect cardRect(shapingCard_->mapTo(this, QPoint(0, 0)), shapingCard_->size());
    if (!cardRect.isEmpty())
        setRoundedShape(cardRect, shapingCard_->cornerRadius());
}

} // namespace vesk
