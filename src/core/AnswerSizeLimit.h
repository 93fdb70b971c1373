#pragma once

#include <QString>
#include <QtGlobal>

class QNetworkReply;

namespace vesk {

// A server decides how long its answer is. A reply keeps what arrives in
// memory until it is read, so every client caps the answer it reads: a reply
// whose body is announced or streams in beyond the cap is aborted (it then
// finishes with QNetworkReply::OperationCanceledError), and holds at most
// about the cap and one network chunk.

// Watches the reply from now on; call it right after the request starts.
void limitAnswerSize(QNetworkReply& reply, qint64 maximumBytes);
// Whether the reply was aborted for going past its cap.
bool answerSizeExceeded(const QNetworkReply& reply);
// "The answer is larger than 65536 bytes", for the log and error texts.
QString answerTooLargeText(qint64 maximumBytes);

} // namespace vesk
