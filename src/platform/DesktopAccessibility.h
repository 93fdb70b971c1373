#pragma once

#include "platform/AXError.h"
#include "platform/DesktopWindow.h"

#include <QMetaType>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVariant>

#include <vector>

namespace vesk::platform {

class SimulatedDesktop;
struct DesktopWindow;

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

// The accessibility API over the desktop's applications and windows. Values:
// positions are QPointF and sizes QSizeF in the top-left (Quartz) system,
// flags bool, texts QString, elements AXElement, element lists QVariantList
// of AXElement. Without the trust of the user every call answers apiDisabled.
// An application's window list holds its standard windows on the active
// Spaces and its minimised ones, not those on other Spaces.
class DesktopAccessibility {
public:
    explicit DesktopAccessibility(SimulatedDesktop& desktop);

    bool isProcessTrusted() const;
    // With `prompt`, the system asks the user (counted by the desktop).
    bool isProcessTrustedWithOptions(bool prompt);

    AXElement createApplication(ProcessID pid) const;
    AXError copyAttributeValue(const AXElement& element, const QString& attribute, QVariant* value) const;
    AXError setAttributeValue(const AXElement& element, const QString& attribute, const QVariant& value);
    AXError performAction(const AXElement& element, const QString& action);
    // The deepest element of the application under a top-left point.
    AXError copyElementAtPosition(const AXElement& application, const QPointF& point, AXElement* element) const;

    // The windows an application's "AXWindows" lists, front to back.
    std::vector<WindowNumber> accessibleWindows(ProcessID pid) const;
    // A title-bar button's frame (top-left system) for a window's bounds.
    static QRectF buttonFrame(AXElement::Kind button, const QRectF& windowBounds);

private:
    AXError check(const AXElement& element) const;
    AXError copyApplicationAttribute(const AXElement& element, const QString& attribute, QVariant* value) const;
    AXError copyWindowAttribute(const AXElement& element, const QString& attribute, QVariant* value) const;
    AXError copyButtonAttribute(const AXElement& element, const QString& attribute, QVariant* value) const;
    AXError setApplicationAttribute(const AXElement& element, const QString& attribute, const QVariant& value);
    AXError setWindowAttribute(const AXElement& element, const QString& attribute, const QVariant& value);
    AXError pressButton(const AXElement& button);

    SimulatedDesktop& desktop_;
};

} // namespace vesk::platform

Q_DECLARE_METATYPE(vesk::platform::AXElement)
