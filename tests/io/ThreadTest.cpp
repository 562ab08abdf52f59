#include "engine/io/Thread.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <sys/resource.h>
#include <thread>

#include <gtest/gtest.h>

#include "engine/core/RefPointer.h"

namespace {

int currentNice() {
    return getpriority(PRIO_PROCESS, 0);
}

// Nice values end at 19 and -20, also for a test run that is itself niced.
int niceMovedBy(int base, int offset) {
    return std::clamp(base + offset, -20, 19);
}

void waitFor(const std::atomic<bool>& flag) {
    while (!flag.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Blocks in its body until released, then records the nice value it runs with.
class GateThread : public CThread {
public:
    ~GateThread() override {
        open.store(true);
        join();
    }

    std::atomic<bool> open{false};
    std::atomic<bool> entered{false};
    std::atomic<int> niceInBody{100};
    std::atomic<int> runs{0};

protected:
    int run() override {
        runs.fetch_add(1);
        entered.store(true);
        waitFor(open);
        niceInBody.store(currentNice());
        return 0;
    }
};

int countCall(void* userData) {
    static_cast<std::atomic<int>*>(userData)->fetch_add(1);
    return 7;
}

} // namespace

TEST(ThreadTest, StartRunsTheEntryOnceAndJoinWaitsForIt) {
    std::atomic<int> calls{0};
    CRefPointer<CThread> thread(new CThread(countCall, &calls));
    ASSERT_TRUE(thread->start());
    thread->join();
    EXPECT_EQ(calls.load(), 1);
    EXPECT_FALSE(thread->isRunning());
}

TEST(ThreadTest, SecondStartIsRefusedUntilJoined) {
    CRefPointer<GateThread> thread(new GateThread);
    EXPECT_FALSE(thread->isRunning());
    ASSERT_TRUE(thread->start());
    EXPECT_TRUE(thread->isRunning());
    EXPECT_FALSE(thread->start());
    thread->open.store(true);
    thread->join();
    EXPECT_FALSE(thread->isRunning());
    EXPECT_EQ(thread->runs.load(), 1);

    // A joined object may run again.
    ASSERT_TRUE(thread->start());
    thread->join();
    EXPECT_EQ(thread->runs.load(), 2);
}

TEST(ThreadTest, DefaultBodyWithoutEntryReturnsAtOnce) {
    CRefPointer<CThread> thread(new CThread);
    ASSERT_TRUE(thread->start());
    thread->join();
    EXPECT_FALSE(thread->isRunning());
}

TEST(ThreadTest, DestroyingWithoutStartRunsNothing) {
    std::atomic<int> calls{0};
    auto* thread = new CThread(countCall, &calls);
    EXPECT_TRUE(thread->release());
    EXPECT_EQ(calls.load(), 0);
}

// A body that lets go of its own thread object, as an owner that ends itself would.
struct SelfReleasingBody {
    CThread* thread = nullptr;
    std::atomic<bool> started{false};
    std::atomic<bool> released{false};
};

int releaseOwnThread(void* userData) {
    auto* body = static_cast<SelfReleasingBody*>(userData);
    waitFor(body->started);
    body->thread->release();
    body->released.store(true);
    return 0;
}

TEST(ThreadTest, ThreadReleasedFromItsOwnBodyEndsOnItsOwn) {
    SelfReleasingBody body;
    body.thread = new CThread(releaseOwnThread, &body);
    ASSERT_TRUE(body.thread->start());
    body.started.store(true);
    waitFor(body.released);
    EXPECT_TRUE(body.released.load());
}

TEST(ThreadTest, DerivedThreadStopsAndJoinsInItsOwnDestructor) {
    auto* thread = new GateThread;
    ASSERT_TRUE(thread->start());
    waitFor(thread->entered);
    EXPECT_TRUE(thread->release());
}

TEST(ThreadTest, PrioritySetBeforeStartTakesEffectWhenTheThreadStarts) {
    const int base = currentNice();
    CRefPointer<GateThread> thread(new GateThread);
    EXPECT_FALSE(thread->setPriority(CThread::PriorityLowest)) << "no thread yet";
    ASSERT_TRUE(thread->start());
    thread->open.store(true);
    thread->join();
    EXPECT_EQ(thread->niceInBody.load(), niceMovedBy(base, 2));
}

TEST(ThreadTest, PriorityOfARunningThreadIsBestEffort) {
    struct Case {
        int32_t priorityClass;
        int offset;
    };
    // Raising the priority needs a privilege: refused, it must report false and change nothing.
    const Case cases[] = {{CThread::PriorityLowest, 2}, {0, 0}, {CThread::PriorityHighest, -2}};
    const int base = currentNice();
    for (const Case& c : cases) {
        CRefPointer<GateThread> thread(new GateThread);
        thread->setPriority(CThread::PriorityLowest);
        ASSERT_TRUE(thread->start());
        const bool accepted = thread->setPriority(c.priorityClass);
        thread->open.store(true);
        thread->join();
        EXPECT_EQ(thread->niceInBody.load(), niceMovedBy(base, accepted ? c.offset : 2))
            << c.priorityClass;
        if (c.offset > 0) {
            EXPECT_TRUE(accepted) << "lowering the priority is always allowed";
        }
    }
    CRefPointer<GateThread> joined(new GateThread);
    ASSERT_TRUE(joined->start());
    joined->open.store(true);
    joined->join();
    EXPECT_FALSE(joined->setPriority(CThread::PriorityLowest)) << "no running thread";
}
