#pragma once

#include "platform/AXElement.h"
#include "platform/AXError.h"
#include "platform/DesktopWindow.h"

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVariant>

#include <vector>

namespace vesk::platform {

class SimulatedDesktop;
struct DesktopWindow;

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

