#pragma once

#include "platform/Identifiers.h"
#include "platform/OwnWindowRegistering.h"
#include "platform/ScreenProviding.h"
#include "platform/WindowLevel.h"

#include <QObject>
#include <QRectF>

#include <optional>

class QWidget;

namespace vesk {

// Lists one of Vesk's ordinary windows (not a panel) in the desktop's window
// list once it is first shown, at its level (a popup stands above the normal
// windows): visible while it is shown and not minimised,
// at the place it is (the list's frames are bottom-left, the widget's
// top-left; both convert through the display the window is on). A screen
// capture draws the window as it looks. The entry goes with the listing.
class OwnWindowListing final : public QObject {
    Q_OBJECT

public:
    OwnWindowListing(QWidget& window, const platform::ScreenProviding& screens,
                     platform::OwnWindowRegistering& ownWindows, int level = platform::WindowLevel::normal);
    ~OwnWindowListing() override;

    std::optional<platform::WindowNumber> windowNumber() const { return windowNumber_; }

    // Conversions between the widget's frame and the list's frame.
    static QRectF quartzFrame(const platform::ScreenProviding& screens, const QRectF& cocoaFrame);
    static QRectF cocoaFrame(const platform::ScreenProviding& screens, const QRectF& quartzFrame);
    // The widget's frame of a window of `size` centred in the visible frame
    // of the main display (at the origin without one).
    static QRectF centredOnMainScreen(const platform::ScreenProviding& screens, const QSizeF& size);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void publish();

    QWidget& window_;
    const platform::ScreenProviding& screens_;
    platform::OwnWindowRegistering& ownWindows_;
    int level_;
    std::optional<platform::WindowNumber> windowNumber_;
};

} // namespace vesk
