#include "Foundation/ThreadNaming.h"

#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

QString ThreadNaming::shortName(const QString &label)
{
    QString name = label;
    for (const char *prefix : {"local.knockwell.", "local.plinkly."}) {
        if (name.startsWith(QLatin1String(prefix))) {
            name = QStringLiteral("kw.") + name.mid(qsizetype(qstrlen(prefix)));
            break;
        }
    }
    return name.left(15);
}

void ThreadNaming::nameCurrentThread(const QString &label)
{
    pthread_setname_np(pthread_self(), shortName(label).toUtf8().constData());
}

void ThreadNaming::applyPriority(Priority priority)
{
    const int nice = priority == Priority::high ? -10 : priority == Priority::low ? 5 : 0;
    if (nice != 0)
        setpriority(PRIO_PROCESS, pid_t(syscall(SYS_gettid)), nice);
}
