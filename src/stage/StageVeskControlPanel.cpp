#include "stage/StageVeskControlPanel.h"

#include "overlay/DisplayGeometry.h"
#include "platform/WindowLevel.h"

namespace vesk {

StageVeskControlPanel::StageVeskControlPanel(const Rect& cocoaFrame, bool hasShadow,
                                             const platform::ScreenProviding& screens,
                                             platform::OwnWindowRegistering* ownWindows)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint)
    , cocoaFrame_(cocoaFrame)
    , hasShadow_(hasShadow)
    , screens_(screens)
    , registration_(ownWindows,
                    overlayPanelWindowSpec(QStringLiteral("StageVesk Controls"), windowLevel(), cocoaFrame, false),
                    this)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::NoFocus);
    applyGeometry();
}

int StageVeskControlPanel::windowLevel()
{
    static const int level = platform::shieldingWindowLevel() + 2;
    return level;
}

void StageVeskControlPanel::setContent(QWidget* content)
{
    if (content_ && content_ != content) {
        // The old view may be the one whose click asked for the new one.
        content_->hide();
        content_->deleteLater();
    }
    content_ = content;
    content->setParent(this);
    content->setGeometry(rect());
    content->show();
    orderFront();
}

void StageVeskControlPanel::setFrame(const Rect& cocoaFrame)
{
    cocoaFrame_ = cocoaFrame;
    applyGeometry();
    registration_.setFrame(cocoaFrame_);
    if (content_)
        content_->setGeometry(rect());
}

void StageVeskControlPanel::orderFront()
{
    show();
    raise();
    orderedIn_ = true;
    registration_.orderIn();
}

void StageVeskControlPanel::orderOut()
{
    hide();
    orderedIn_ = false;
    registration_.orderOut();
}

// The widget's geometry is top-left: the frame goes through the display it lies on.
void StageVeskControlPanel::applyGeometry()
{
    const std::optional<DisplayGeometry> geometry = DisplayGeometry::current(screens_);
    const Rect quartzFrame =
        geometry ? DisplayGeometry::quartzRect(cocoaFrame_, geometry->displayFrameForCocoaRect(cocoaFrame_))
                 : cocoaFrame_;
    setGeometry(toQRectF(quartzFrame).toRect());
}

} // namespace vesk
