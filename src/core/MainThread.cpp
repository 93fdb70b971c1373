#include "core/MainThread.h"

#include <QCoreApplication>
#include <QThread>

namespace vesk {

bool isMainThread()
{
    if (auto* app = QCoreApplication::instance())
        return QThread::currentThread() == app->thread();
    static QThread* const first = QThread::currentThread();
    return QThread::currentThread() == first;
}

} // namespace vesk
