#include "core/AnswerSizeLimit.h"

#include <QNetworkReply>

namespace vesk {

namespace {

const char* const exceededProperty = "vesk.answerSizeExceeded";

} // namespace

void limitAnswerSize(QNetworkReply& reply, qint64 maximumBytes)
{
    // The total is the announced length (-1 when none is announced).
    QObject::connect(&reply, &QNetworkReply::downloadProgress, &reply,
                     [&reply, maximumBytes](qint64 received, qint64 total) {
                         if ((received <= maximumBytes && total <= maximumBytes) || answerSizeExceeded(reply))
                             return;
                         reply.setProperty(exceededProperty, true);
                         reply.abort();
                     });
}

bool answerSizeExceeded(const QNetworkReply& reply)
{
    return reply.property(exceededProperty).toBool();
}

QString answerTooLargeText(qint64 maximumBytes)
{
    return QStringLiteral("The answer is larger than %1 bytes").arg(maximumBytes);
}

} // namespace vesk
