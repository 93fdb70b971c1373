#pragma once

#include "platform/AXElement.h"
#include "platform/AXError.h"
#include "platform/Identifiers.h"

#include <QPointF>
#include <QString>
#include <QVariant>

namespace vesk::platform {

// The accessibility API over the applications and their windows. Values:
// positions are QPointF and sizes QSizeF in the top-left (Quartz) system,
// flags bool, texts QString, elements AXElement, element lists QVariantList
// of AXElement. Without the user's trust every call answers apiDisabled.
class Accessibility {
public:
    virtual ~Accessibility() = default;

    virtual bool isProcessTrusted() const = 0;
    // With `prompt`, the system asks the user.
    virtual bool isProcessTrustedWithOptions(bool prompt) = 0;

    virtual AXElement createApplication(ProcessID pid) const = 0;
    virtual AXError copyAttributeValue(const AXElement& element, const QString& attribute, QVariant* value) const = 0;
    virtual AXError setAttributeValue(const AXElement& element, const QString& attribute, const QVariant& value) = 0;
    virtual AXError performAction(const AXElement& element, const QString& action) = 0;
    // The deepest element of the application under a top-left point.
    virtual AXError copyElementAtPosition(const AXElement& application, const QPointF& point,
                                          AXElement* element) const = 0;
};

} // namespace vesk::platform
