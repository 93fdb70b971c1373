#pragma once

#include "platform/Accessibility.h"
#include "platform/simulated/DesktopWindow.h"

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVariant>

#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace vesk::platform {

class SimulatedDesktop;
struct DesktopWindow;

// The accessibility API over the simulated desktop's applications and
// windows. An application's window list holds its standard windows on the active
// Spaces and its minimised ones, not those on other Spaces.
class DesktopAccessibility final : public Accessibility {
public:
    explicit DesktopAccessibility(SimulatedDesktop& desktop);

    bool isProcessTrusted() const override;
    // A prompt is counted by the desktop.
    bool isProcessTrustedWithOptions(bool prompt) override;

    AXElement createApplication(ProcessID pid) const override;
    AXError copyAttributeValue(const AXElement& element, const QString& attribute, QVariant* value) const override;
    AXError setAttributeValue(const AXElement& element, const QString& attribute, const QVariant& value) override;
    AXError performAction(const AXElement& element, const QString& action) override;
    AXError copyElementAtPosition(const AXElement& application, const QPointF& point,
                                  AXElement* element) const override;

    // The windows an application's "AXWindows" lists, front to back.
    std::vector<WindowNumber> accessibleWindows(ProcessID pid) const;
    // A title-bar button's frame (top-left system) for a window's bounds.
    static QRectF buttonFrame(AXElement::Kind button, const QRectF& windowBounds);

    // Fault injection: setting the attribute on the element (an application
    // or a window) answers `error` once `successesFirst` more settings of it
    // have gone through, until the refusals are cleared.
    void refuseSetting(const AXElement& element, const QString& attribute, AXError error, int successesFirst = 0);
    void clearRefusals() { refusals_.clear(); }

private:
    struct Refusal {
        AXError error = AXError::cannotComplete;
        int successesLeft = 0;
    };
    using RefusalKey = std::tuple<AXElement::Kind, ProcessID, WindowNumber, QString>;

    // The injected refusal of this setting, counting down the successes before it.
    std::optional<AXError> takeRefusal(const AXElement& element, const QString& attribute);

    AXError check(const AXElement& element) const;
    AXError copyApplicationAttribute(const AXElement& element, const QString& attribute, QVariant* value) const;
    AXError copyWindowAttribute(const AXElement& element, const QString& attribute, QVariant* value) const;
    AXError copyButtonAttribute(const AXElement& element, const QString& attribute, QVariant* value) const;
    AXError setApplicationAttribute(const AXElement& element, const QString& attribute, const QVariant& value);
    AXError setWindowAttribute(const AXElement& element, const QString& attribute, const QVariant& value);
    AXError pressButton(const AXElement& button);

    SimulatedDesktop& desktop_;
    std::map<RefusalKey, Refusal> refusals_;
};

} // namespace vesk::platform
