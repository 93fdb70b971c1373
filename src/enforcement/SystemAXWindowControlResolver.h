#pragma once

#include "enforcement/AXWindowControlResolving.h"
#include "logging/VeskLogger.h"
#include "platform/AXElement.h"

namespace vesk::platform {
class Accessibility;
class Workspace;
} // namespace vesk::platform

namespace vesk {

// Finds the accessibility element under a click in the application and names
// it by its subrole and title, in English or German, walking up from the
// element to at most four ancestors (the hit is often an image inside the button).
class SystemAXWindowControlResolver final : public AXWindowControlResolving {
public:
    SystemAXWindowControlResolver(const platform::Workspace& workspace, const platform::Accessibility& accessibility);

    std::optional<MouseBlockerControlAction> resolve(const QString& bundleID, Point quartzPoint,
                                                     Point cocoaPoint) override;

    // Close, minimise or zoom by the words of an element's subrole and
    // title, compared in lower case; none when no word matches.
    static std::optional<MouseBlockerControlAction> matchControlTitle(const std::optional<QString>& subrole,
                                                                      const std::optional<QString>& title);

private:
    std::optional<MouseBlockerControlAction> elementControlAction(const platform::AXElement& application,
                                                                  Point point) const;
    std::optional<QString> textAttribute(const platform::AXElement& element, const QString& attribute) const;

    const platform::Workspace& workspace_;
    const platform::Accessibility& accessibility_;
    VeskLogger logger_{QStringLiteral("SystemAXWindowControlResolver")};
};

} // namespace vesk
