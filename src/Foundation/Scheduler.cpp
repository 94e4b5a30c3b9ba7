#include "Foundation/Scheduler.h"

#include <QTimer>

void QtScheduler::schedule(std::chrono::milliseconds delay, QObject *context, std::function<void()> task)
{
    QTimer::singleShot(delay, context, std::move(task));
}
