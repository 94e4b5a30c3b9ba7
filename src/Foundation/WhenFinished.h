#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>

#include <utility>

// Hands a future's result to `handler` on `context`'s thread, always from its event loop
// (never inside this call, even when the work is already done), and never once `context`
// is gone. QFuture::then(context, ...) in Qt 6.4 does not follow the context's lifetime:
// work that finishes after its owner was destroyed calls into freed memory.
template <typename T, typename Handler>
void whenFinished(const QFuture<T> &future, QObject *context, Handler handler)
{
    // The watcher is the context's child, so it dies with it and the future's late
    // finish reaches nobody.
    auto *watcher = new QFutureWatcher<T>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, watcher,
                     [watcher, handler = std::move(handler)]() mutable {
                         watcher->deleteLater();
                         handler(watcher->result());
                     });
    watcher->setFuture(future);
}
