#include "Foundation/WhenFinished.h"

#include <QCoreApplication>
#include <QPromise>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <semaphore>

TEST(WhenFinished, DeliversTheResultFromTheEventLoopEvenWhenAlreadyDone)
{
    QObject owner;
    QPromise<int> promise;
    promise.start();
    promise.addResult(7);
    promise.finish();
    std::optional<int> seen;
    whenFinished(promise.future(), &owner, [&seen](int value) { seen = value; });
    EXPECT_FALSE(seen);
    QCoreApplication::processEvents();
    EXPECT_EQ(seen, 7);
}

TEST(WhenFinished, WorkThatOutlivesItsOwnerReachesNobody)
{
    std::binary_semaphore release(0);
    int calls = 0;
    auto owner = std::make_unique<QObject>();
    QFuture<int> work = QtConcurrent::run([&release] {
        release.acquire();
        return 1;
    });
    whenFinished(work, owner.get(), [&calls](int) { ++calls; });
    owner.reset();
    release.release();
    work.waitForFinished();
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);
}
