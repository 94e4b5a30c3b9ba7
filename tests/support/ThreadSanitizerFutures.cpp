// Under ThreadSanitizer only. Qt is not instrumented, so the hand-overs a QFuture makes inside
// Qt (a task queued to the thread pool, its result handed back) are invisible, and every task
// looks like a race with the thread that queued it or reads its result. These definitions
// take the place of Qt's own for calls from our code: each marks the hand-over on the
// future's shared state, then does what Qt does.
#if defined(__SANITIZE_THREAD__)

#include <QFutureInterfaceBase>

#include <dlfcn.h>
#include <sanitizer/tsan_interface.h>

namespace {
template <typename Function>
Function qtOwn(const char *symbol)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, symbol));
}

void *sharedState(const QFutureInterfaceBase *future)
{
    return &future->mutex();
}
}

// The task's inputs are complete when it is queued...
void QFutureInterfaceBase::reportStarted()
{
    static const auto own = qtOwn<void (*)(QFutureInterfaceBase *)>("_ZN20QFutureInterfaceBase13reportStartedEv");
    __tsan_release(sharedState(this));
    own(this);
}

// ...and seen by the pool thread, whose first step asks whether it was cancelled.
bool QFutureInterfaceBase::isCanceled() const
{
    static const auto own = qtOwn<bool (*)(const QFutureInterfaceBase *)>("_ZNK20QFutureInterfaceBase10isCanceledEv");
    __tsan_acquire(sharedState(this));
    return own(this);
}

// The result and everything the task wrote are complete when it finishes...
void QFutureInterfaceBase::reportFinished()
{
    static const auto own = qtOwn<void (*)(QFutureInterfaceBase *)>("_ZN20QFutureInterfaceBase14reportFinishedEv");
    __tsan_release(sharedState(this));
    own(this);
}

// ...and seen by whoever waits for it or finds it finished.
bool QFutureInterfaceBase::isFinished() const
{
    static const auto own = qtOwn<bool (*)(const QFutureInterfaceBase *)>("_ZNK20QFutureInterfaceBase10isFinishedEv");
    const bool finished = own(this);
    if (finished)
        __tsan_acquire(sharedState(this));
    return finished;
}

void QFutureInterfaceBase::waitForFinished()
{
    static const auto own = qtOwn<void (*)(QFutureInterfaceBase *)>("_ZN20QFutureInterfaceBase15waitForFinishedEv");
    own(this);
    __tsan_acquire(sharedState(this));
}

void QFutureInterfaceBase::waitForResult(int resultIndex)
{
    static const auto own = qtOwn<void (*)(QFutureInterfaceBase *, int)>("_ZN20QFutureInterfaceBase13waitForResultEi");
    own(this, resultIndex);
    __tsan_acquire(sharedState(this));
}

#endif
