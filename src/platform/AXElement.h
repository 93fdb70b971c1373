#pragma once

#include "platform/Identifiers.h"

#include <QMetaType>
#include <QString>

namespace vesk::platform {

// An accessibility element: an application, one of its windows, or one of a
// window's three title-bar buttons.
struct AXElement {
    enum class Kind { application, window, closeButton, minimizeButton, zoomButton };
    Kind kind = Kind::application;
    ProcessID pid = 0;
    WindowNumber window = 0;

    bool operator==(const AXElement&) const = default;
};

// Attribute and action names, as the platform spells them.
namespace AXName {
inline const QString windows = QStringLiteral("AXWindows");
inline const QString mainWindow = QStringLiteral("AXMainWindow");
inline const QString focusedWindow = QStringLiteral("AXFocusedWindow");
inline const QString frontmost = QStringLiteral("AXFrontmost");
inline const QString hidden = QStringLiteral("AXHidden");
inline const QString role = QStringLiteral("AXRole");
inline const QString subrole = QStringLiteral("AXSubrole");
inline const QString title = QStringLiteral("AXTitle");
inline const QString parent = QStringLiteral("AXParent");
inline const QString position = QStringLiteral("AXPosition");
inline const QString size = QStringLiteral("AXSize");
inline const QString minimized = QStringLiteral("AXMinimized");
inline const QString fullScreen = QStringLiteral("AXFullScreen");
inline const QString main = QStringLiteral("AXMain");
inline const QString focused = QStringLiteral("AXFocused");
inline const QString closeButton = QStringLiteral("AXCloseButton");
inline const QString minimizeButton = QStringLiteral("AXMinimizeButton");
inline const QString zoomButton = QStringLiteral("AXZoomButton");
inline const QString fullScreenButton = QStringLiteral("AXFullScreenButton");
inline const QString raiseAction = QStringLiteral("AXRaise");
inline const QString pressAction = QStringLiteral("AXPress");
inline const QString cancelAction = QStringLiteral("AXCancel");
} // namespace AXName

} // namespace vesk::platform

Q_DECLARE_METATYPE(vesk::platform::AXElement)
