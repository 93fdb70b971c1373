#include "feedback/BugReportEndpoint.h"

#include <QtGlobal>

namespace vesk {

QString bugReportEndpointText()
{
    if (qEnvironmentVariableIsSet(bugReportEndpointVariable))
        return qEnvironmentVariable(bugReportEndpointVariable);
    return QString::fromUtf8(bugReportEndpoint);
}

} // namespace vesk
