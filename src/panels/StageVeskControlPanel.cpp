#include "panels/StageVeskControlPanel.h"

#include "panels/StageVeskCard.h"
#include "platform/WindowLevel.h"

#include "ui/Gradient.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace vesk {

namespace {

PanelWindow::Configuration controlPanelConfiguration(bool dropsShadow)
{
    PanelWindow::Configuration configuration;
    configuration.title = QStringLiteral("StageVesk Controls");
    configuration.level = StageVeskControlPanel::windowLevel();
    // Opaque over black unless the display composites: the bars stand on the
    // session's black overlay, and a see-through top-level window would black
    // out the overlay's holes on a window system without compositing.
    configuration.opaque = !dropsShadow;
    if (dropsShadow)
        configuration.shadowMargins = shadowMargins(StageVeskControlPanel::cardShadow());
    return configuration;
}

} // namespace

StageVeskControlPanel::StageVeskControlPanel(const Rect& cocoaFrame, bool dropsShadow,
                                             const platform::ScreenProviding& screens,
                                             platform::OwnWindowRegistering* ownWindows)
    : PanelWindow(controlPanelConfiguration(dropsShadow), cocoaFrame, screens, ownWindows)
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

Shadow StageVeskControlPanel::cardShadow()
{
    return Shadow{withOpacity(Qt::black, 0.4), 10, QPointF(0, 6)};
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
    if (dropsShadow_) {
        update();
        return;
    }
    const QRect card = cardRect();
    if (!card.isEmpty())
        setRoundedShape(card, shapingCard_->cornerRadius());
}

QRect StageVeskControlPanel::cardRect() const
{
    return shapingCard_ ? QRect(shapingCard_->mapTo(this, QPoint(0, 0)), shapingCard_->size()) : QRect();
}

void StageVeskControlPanel::paintEvent(QPaintEvent* event)
{
    const QRect card = cardRect();
    if (!dropsShadow_ || card.isEmpty()) {
        PanelWindow::paintEvent(event);
        return;
    }
    const double dpr = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * dpr).toSize();
    if (shadow_.size() != pixels || shadow_.devicePixelRatio() != dpr || shadowCardRect_ != card) {
        shadow_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        shadow_.setDevicePixelRatio(dpr);
        shadow_.fill(Qt::transparent);
        QPainter painter(&shadow_);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(card, shapingCard_->cornerRadius(), shapingCard_->cornerRadius());
        paintLayer(painter, card, LayerEffects::shadowed(cardShadow()),
                   [&shape](QPainter& layer) { layer.fillPath(shape, Qt::black); });
        // The card draws itself: only the shadow around it stays.
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.fillPath(shape, Qt::transparent);
        shadowCardRect_ = card;
    }
    QPainter(this).drawImage(QPointF(0, 0), shadow_);
}

} // namespace vesk
