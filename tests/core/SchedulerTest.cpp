#include "engine/core/Scheduler.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Records the elapsed times it is called with; `onUpdate` may replace the default answer.
struct Ticker : CScheduledObject {
    explicit Ticker(uint32_t interval, bool* destroyed = nullptr) : destroyed(destroyed) {
        setInterval(interval);
    }
    ~Ticker() override {
        if (destroyed)
            *destroyed = true;
    }
    bool OnUpdate(uint32_t elapsedMs) override {
        calls.push_back(elapsedMs);
        return onUpdate ? onUpdate(*this) : true;
    }

    bool* destroyed;
    std::vector<uint32_t> calls;
    std::function<bool(Ticker&)> onUpdate;
};

TEST(SchedulerTest, IntervalsElapsedTimeAndTimeScale) {
    struct Case {
        uint32_t interval;
        float timeScale;
        std::vector<uint32_t> updates;
        std::vector<uint32_t> calls;
    };
    const Case cases[] = {
        {30, 1.0f, {20, 20, 20, 20}, {40, 40}},
        {0, 1.0f, {20, 20}, {20, 20}},
        {0, 0.5f, {20, 20, 20}, {10, 10, 10}},
        {25, 0.5f, {20, 20, 20, 20, 20, 20}, {30, 30}},
        // Whole milliseconds are truncated from the scaled clock; the fractions are kept.
        {0, 0.25f, {10, 10, 10, 10}, {2, 3, 2, 3}},
        {1, 0.0f, {20, 20}, {}},
    };
    for (const Case& c : cases) {
        CScheduler scheduler;
        scheduler.setTimeScale(c.timeScale);
        const CRefPointer<Ticker> ticker(new Ticker(c.interval));
        scheduler.registerObject(ticker.get());
        for (uint32_t elapsed : c.updates)
            scheduler.update(elapsed);
        EXPECT_EQ(ticker->calls, c.calls) << "interval " << c.interval << " scale " << c.timeScale;
        EXPECT_EQ(ticker->getRefCount(), 2);
    }
}

TEST(SchedulerTest, UpdateEventAdvancesTheClockAndTravelsOn) {
    CScheduler scheduler;
    const CRefPointer<Ticker> ticker(new Ticker(0));
    scheduler.registerObject(ticker.get());
    CEventSystemFlowUpdate update(20);
    EXPECT_EQ(scheduler.getCategoryMask(), uint32_t(CEvent::CategorySystem));
    EXPECT_FALSE(scheduler.deliver(CEventReceiver::RouteSelfThenChildren, update));
    EXPECT_EQ(ticker->calls, std::vector<uint32_t>{20});
}

TEST(SchedulerTest, DisabledSchedulerStandsStillButAppliesRemovals) {
    CScheduler scheduler;
    const CRefPointer<Ticker> kept(new Ticker(0));
    bool destroyed = false;
    Ticker* abandoned = new Ticker(0, &destroyed);
    scheduler.registerObject(kept.get());
    scheduler.registerObject(abandoned);
    scheduler.update(20);
    abandoned->release();
    scheduler.setEnabled(false);
    scheduler.update(500);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(kept->calls, std::vector<uint32_t>{20});
    scheduler.setEnabled(true);
    scheduler.update(20);
    EXPECT_EQ(kept->calls, (std::vector<uint32_t>{20, 20}));
}

TEST(SchedulerTest, DestroyingTheSchedulerReleasesAndDetachesItsObjects) {
    const CRefPointer<Ticker> kept(new Ticker(0));
    bool destroyed = false;
    {
        CScheduler scheduler;
        scheduler.registerObject(kept.get());
        Ticker* abandoned = new Ticker(0, &destroyed);
        scheduler.registerObject(abandoned);
        abandoned->release();
    }
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(kept->getScheduler(), nullptr);
    EXPECT_EQ(kept->getRefCount(), 1);
}

TEST(SchedulerTest, ObjectReturningFalseIsReleasedAtTheEndOfTheUpdate) {
    CScheduler scheduler;
    const CRefPointer<Ticker> ticker(new Ticker(0));
    ticker->onUpdate = [](Ticker&) { return false; };
    scheduler.registerObject(ticker.get());
    scheduler.update(20);
    scheduler.update(20);
    EXPECT_EQ(ticker->calls, std::vector<uint32_t>{20});
    EXPECT_EQ(ticker->getScheduler(), nullptr);
    EXPECT_EQ(ticker->getRefCount(), 1);
}

TEST(SchedulerTest, RegisteringAndUnregisteringDuringATick) {
    enum Action { RegisterOther, UnregisterOther, UnregisterAndRegisterOther, MoveOtherAway };
    struct Case {
        const char* name;
        Action action;
        bool otherRegistered;
        std::vector<uint32_t> callsInFirstUpdate;
        std::vector<uint32_t> callsInAll;
    };
    // The actor runs first; "other" is registered after it unless the action registers it.
    // Both schedulers are updated twice by 20 ms, S1 first.
    const Case cases[] = {
        {"register", RegisterOther, false, {}, {20}},
        {"unregister", UnregisterOther, true, {}, {}},
        {"unregister, then register again", UnregisterAndRegisterOther, true, {20}, {20, 20}},
        {"move to another scheduler", MoveOtherAway, true, {}, {20, 20}},
    };
    for (const Case& c : cases) {
        CScheduler s1;
        CScheduler s2;
        const CRefPointer<Ticker> actor(new Ticker(0));
        const CRefPointer<Ticker> other(new Ticker(0));
        actor->onUpdate = [&](Ticker& self) {
            if (self.calls.size() > 1)
                return true;
            switch (c.action) {
            case RegisterOther:
                s1.registerObject(other.get());
                break;
            case UnregisterOther:
                s1.unregisterObject(other.get());
                break;
            case UnregisterAndRegisterOther:
                other->setScheduler(nullptr);
                other->setScheduler(&s1);
                break;
            case MoveOtherAway:
                other->setScheduler(&s2);
                break;
            }
            return true;
        };
        s1.registerObject(actor.get());
        if (c.otherRegistered)
            s1.registerObject(other.get());

        s1.update(20);
        EXPECT_EQ(other->calls, c.callsInFirstUpdate) << c.name;
        s2.update(20);
        s1.update(20);
        s2.update(20);
        EXPECT_EQ(other->calls, c.callsInAll) << c.name;
        const bool attached = other->getScheduler() != nullptr;
        EXPECT_EQ(other->getRefCount(), attached ? 2 : 1) << c.name;
    }
}

TEST(SchedulerTest, ObjectMayReleaseItselfDuringItsOwnUpdate) {
    enum Action { SelfRemoval, OwnerLetsGo, OwnerLetsGoOfLaterObject };
    struct Case {
        const char* name;
        Action action;
    };
    const Case cases[] = {
        {"self-removal returning false", SelfRemoval},
        {"owner lets go, update returns true", OwnerLetsGo},
        {"owner of a later object lets go", OwnerLetsGoOfLaterObject},
    };
    for (const Case& c : cases) {
        CRefPointer<CScheduler> scheduler(new CScheduler);
        bool actorDestroyed = false;
        bool laterDestroyed = false;
        Ticker* actor = new Ticker(0, &actorDestroyed);
        Ticker* later = new Ticker(0, &laterDestroyed);
        actor->onUpdate = [&](Ticker& self) {
            if (self.calls.size() > 1)
                return true;
            switch (c.action) {
            case SelfRemoval:
                // As an effect node does: hold itself, leave the tree and the scheduler, let go.
                self.addRef();
                self.release();
                self.setScheduler(nullptr);
                self.release();
                return false;
            case OwnerLetsGo:
                self.release();
                return true;
            case OwnerLetsGoOfLaterObject:
                later->release();
                return true;
            }
            return true;
        };
        scheduler->registerObject(actor);
        scheduler->registerObject(later);
        scheduler->update(20);
        const bool actorGone = c.action == SelfRemoval || c.action == OwnerLetsGo;
        EXPECT_EQ(actorDestroyed, actorGone) << c.name;
        EXPECT_EQ(laterDestroyed, c.action == OwnerLetsGoOfLaterObject) << c.name;
        if (!laterDestroyed) {
            EXPECT_EQ(later->calls, std::vector<uint32_t>{20}) << c.name;
        }
        scheduler->update(20);
        if (!actorGone)
            actor->release();
        if (!laterDestroyed)
            later->release();
        scheduler.reset();
        EXPECT_TRUE(actorDestroyed && laterDestroyed) << c.name;
    }
}

// Its destructor takes its partner off the scheduler, as a scene lets go of the objects it owns.
struct PartnerOwner : Ticker {
    explicit PartnerOwner(Ticker& partner) : Ticker(0), partner(partner) {}
    ~PartnerOwner() override { partner.setScheduler(nullptr); }
    Ticker& partner;
};

TEST(SchedulerTest, DroppedObjectMayUnregisterAnotherFromItsDestructor) {
    CScheduler scheduler;
    const CRefPointer<Ticker> partner(new Ticker(0));
    PartnerOwner* owner = new PartnerOwner(*partner);
    scheduler.registerObject(owner);
    scheduler.registerObject(partner.get());
    owner->release();
    // Drops and destroys the owner, which unregisters the partner.
    scheduler.update(20);
    EXPECT_EQ(partner->getScheduler(), nullptr);
    EXPECT_EQ(partner->getRefCount(), 1);

    partner->setScheduler(&scheduler);
    scheduler.update(20);
    EXPECT_EQ(partner->calls, (std::vector<uint32_t>{20, 20}));
    EXPECT_EQ(partner->getRefCount(), 2);
}

TEST(SchedulerTest, ClockDoesNotDriftOverLongRuns) {
    CScheduler scheduler;
    const CRefPointer<Ticker> everyUpdate(new Ticker(0));
    const CRefPointer<Ticker> everySecond(new Ticker(1000));
    uint64_t total = 0;
    uint32_t seconds = 0;
    everyUpdate->onUpdate = [&](Ticker& self) {
        total += self.calls.back();
        self.calls.clear();
        return true;
    };
    everySecond->onUpdate = [&](Ticker& self) {
        seconds += self.calls.back() == 1000 ? 1 : 0;
        self.calls.clear();
        return true;
    };
    scheduler.registerObject(everyUpdate.get());
    scheduler.registerObject(everySecond.get());
    const uint32_t updates = 10'000'000;
    for (uint32_t i = 0; i < updates; ++i)
        scheduler.update(20);
    EXPECT_EQ(total, uint64_t(updates) * 20);
    EXPECT_EQ(seconds, updates / 50);
}

} // namespace
