#include "engine/core/Engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core/StubDevice.h"
#include "engine/core/DeviceFactory.h"
#include "engine/core/EngineSubsystemFactories.h"
#include "engine/core/EventSystemFlowRender.h"
#include "engine/core/Properties.h"

namespace {

using Log = std::vector<std::string>;

struct GameEvent : CEventType<4096, CEvent> {
    GameEvent() : CEventType(CategoryGame) {}
};

// Logs its name when it is offered an event; may handle it or run an action first.
struct NamedReceiver : CEventReceiver {
    NamedReceiver(std::string name, Log& log, uint32_t mask = 0xFFFFFFFFu)
        : name(std::move(name)), log(log) {
        setCategoryMask(mask);
    }

    bool OnEvent(CEvent&) override {
        log.push_back(name);
        if (action)
            action();
        return handles;
    }

    std::string name;
    Log& log;
    bool handles = false;
    std::function<void()> action;
};

// Writes what the frame step posts: "U<ms>" for an update, "R" for a render.
struct FrameLog : CEventReceiver {
    FrameLog() { setCategoryMask(CEvent::CategorySystem); }

    bool OnEvent(CEvent& event) override {
        if (!text.empty())
            text += ' ';
        if (event.getTypeId() == CEventSystemFlowUpdate::Id)
            text +=
                "U" + std::to_string(static_cast<CEventSystemFlowUpdate&>(event).getElapsedMs());
        else if (event.getTypeId() == CEventSystemFlowRender::Id)
            text += "R";
        return false;
    }

    std::string text;
};

// Counts position reads and logs its release.
struct StubCursor : ICursorControl {
    explicit StubCursor(ProbeLog& log) : log(log) {}
    ~StubCursor() override { log.releases.push_back("cursor"); }

    void setVisible(bool) override {}
    bool isVisible() const override { return true; }
    void setPosition(const Point&) override {}
    Point getPosition() const override { return {}; }
    int32_t updatePosition() override { return ++reads; }
    const CArray<Point>& getPointList() const override { return points; }
    void setCursorImage(CSoftwareImage*, int32_t, int32_t) override {}
    void setPointList(const CArray<Point>&) override {}

    ProbeLog& log;
    int32_t reads = 0;
    CArray<Point> points;
};

class EngineTest : public testing::Test {
protected:
    void post() {
        GameEvent event;
        engine->postEvent(event);
    }

    FakeClock clock;
    ProbeLog probes;
    CRefPointer<StubDevice> engine{new StubDevice(clock)};
    Log log;
};

TEST_F(EngineTest, ReceiversGetEventsInAscendingPriority) {
    NamedReceiver late("1000", log), two("2", log), first("-1", log), one("1", log), zero("0", log);
    engine->addReceiver(&late, 1000);
    engine->addReceiver(&two, 2);
    engine->addReceiver(&first, -1);
    engine->addReceiver(&one, 1);
    engine->addReceiver(&zero, 0);
    post();
    EXPECT_EQ(log, (Log{"-1", "0", "1", "2", "1000"}));
}

// The order among equal priorities is what the heap sort leaves after each insertion.
TEST_F(EngineTest, EqualPrioritiesEndInTheHeapSortOrder) {
    NamedReceiver a("A", log), b("B", log), c("C", log), d("D", log), e("E", log);
    engine->addReceiver(&a, 0);
    engine->addReceiver(&b, 0);
    engine->addReceiver(&c, 0);
    post();
    EXPECT_EQ(log, (Log{"A", "C", "B"}));

    log.clear();
    engine->addReceiver(&d, 0);
    engine->addReceiver(&e, 0);
    post();
    EXPECT_EQ(log, (Log{"B", "D", "A", "E", "C"}));
}

// The receivers of the game's start-up, registered and replaced in its order: the null audio
// driver by the device, then the engine's subsystems, the application, the OpenAL driver in
// place of the null one, the content manager, two schedulers and the first scene manager.
TEST_F(EngineTest, StartUpRegistrationsDispatchInTheirKnownOrder) {
    NamedReceiver nullAudio("nullAudio", log), processors("processors", log),
        soundPlayer("soundPlayer", log), application("application", log), openAl("openAL", log),
        contentManager("contentManager", log), scheduler1("scheduler1", log),
        scheduler2("scheduler2", log), sceneManager("sceneManager", log);
    engine->addReceiver(&nullAudio, 1);
    engine->addReceiver(&processors, -1);
    engine->addReceiver(&soundPlayer, 1);
    engine->addReceiver(&application, 0);
    engine->removeReceiver(&nullAudio);
    engine->addReceiver(&openAl, 1);
    engine->addReceiver(&contentManager, 1);
    engine->addReceiver(&scheduler1, 2);
    engine->addReceiver(&scheduler2, 2);
    engine->addReceiver(&sceneManager, 2);
    post();
    EXPECT_EQ(log, (Log{"processors", "application", "soundPlayer", "openAL", "contentManager",
                        "scheduler1", "scheduler2", "sceneManager"}));
}

TEST_F(EngineTest, AddRefusesNullAndDuplicatesAndRemoveIgnoresStrangers) {
    NamedReceiver a("A", log), stranger("stranger", log);
    EXPECT_FALSE(engine->addReceiver(nullptr, 0));
    EXPECT_TRUE(engine->addReceiver(&a, 0));
    EXPECT_FALSE(engine->addReceiver(&a, 5));
    engine->removeReceiver(&stranger);
    post();
    EXPECT_EQ(log, (Log{"A"}));

    engine->removeReceiver(&a);
    log.clear();
    post();
    EXPECT_TRUE(log.empty());
}

TEST_F(EngineTest, OnlyReceiversWhoseMaskSharesTheCategoryAreOffered) {
    NamedReceiver mouse("mouse", log, CEvent::CategoryMouse),
        game("game", log, CEvent::CategoryGame | CEvent::CategoryMouse);
    engine->addReceiver(&mouse, 0);
    engine->addReceiver(&game, 1);
    post();
    EXPECT_EQ(log, (Log{"game"}));
}

TEST_F(EngineTest, DeliveryStopsAtTheFirstReceiverThatHandles) {
    NamedReceiver first("first", log), handler("handler", log), later("later", log);
    handler.handles = true;
    engine->addReceiver(&first, 0);
    engine->addReceiver(&handler, 1);
    engine->addReceiver(&later, 2);
    GameEvent event;
    EXPECT_TRUE(engine->postEvent(event));
    EXPECT_EQ(log, (Log{"first", "handler"}));
}

TEST_F(EngineTest, ReceiverRemovedDuringDispatchIsSkipped) {
    NamedReceiver remover("remover", log), removed("removed", log), last("last", log);
    remover.action = [&] { engine->removeReceiver(&removed); };
    engine->addReceiver(&remover, 0);
    engine->addReceiver(&removed, 1);
    engine->addReceiver(&last, 2);
    post();
    EXPECT_EQ(log, (Log{"remover", "last"}));
}

TEST_F(EngineTest, ReceiverAddedDuringDispatchWaitsForTheNextEvent) {
    NamedReceiver adder("adder", log), added("added", log);
    adder.action = [&] { engine->addReceiver(&added, 1); };
    engine->addReceiver(&adder, 0);
    post();
    EXPECT_EQ(log, (Log{"adder"}));
    log.clear();
    post();
    EXPECT_EQ(log, (Log{"adder", "added"}));
}

TEST_F(EngineTest, EngineHandlerSeesEveryPostedEventFirst) {
    NamedReceiver receiver("receiver", log);
    receiver.action = [&] { EXPECT_EQ(engine->ownEvents.size(), 1u); };
    engine->addReceiver(&receiver, -1);
    post();
    EXPECT_EQ(engine->ownEvents, (std::vector<uint32_t>{4096}));
    EXPECT_EQ(log, (Log{"receiver"}));

    // Frame events go the same way.
    engine->ownEvents.clear();
    engine->stepFrame(false, true, 20, 1000, 200);
    EXPECT_EQ(engine->ownEvents, (std::vector<uint32_t>{CEventSystemFlowRender::Id}));

    // An event the engine handles reaches no receiver.
    engine->handlesOwnEvents = true;
    log.clear();
    post();
    EXPECT_TRUE(log.empty());
}

struct Pass {
    uint32_t advanceMs;
    bool update;
    bool render;
    const char* posted;
};

struct FrameCase {
    const char* name;
    uint32_t minimumStep;
    uint32_t largeStep;
    uint32_t lagCap;
    std::vector<Pass> passes;
};

TEST(EngineFrameStepTest, PostsUpdatesAndRendersFromTheVirtualClock) {
    const std::string thirteenSteps = [] {
        std::string text;
        for (int i = 0; i < 13; ++i)
            text += "U15 ";
        return text + "R";
    }();
    const FrameCase cases[] = {
        {"lag beyond the cap is dropped",
         20,
         1000,
         200,
         {{5000, true, false, "U200 R"}, {20, true, false, "U20 R"}}},
        {"one update of 20 to 200 ms",
         20,
         1000,
         200,
         {{20, true, false, "U20 R"},
          {150, true, false, "U150 R"},
          {19, true, false, ""},
          {1, true, false, "U20 R"}}},
        {"large steps carry the remainder",
         5,
         15,
         200,
         {{100, true, false, "U15 U15 U15 U15 U15 U15 R"}, {5, true, false, "U15 R"}}},
        {"large steps after the cap",
         5,
         15,
         200,
         {{1000, true, false, thirteenSteps.c_str()}, {10, true, false, "U15 R"}}},
        {"render only when asked unless updates were posted",
         20,
         1000,
         200,
         {{10, true, false, ""},
          {5, true, true, "R"},
          {5, true, false, "U20 R"},
          {20, true, true, "U20 R"},
          {50, false, true, "R"},
          {50, false, false, ""}}},
        {"the clock stands still without update requests",
         20,
         1000,
         200,
         {{20, true, false, "U20 R"},
          {10, false, false, ""},
          {5000, false, true, "R"},
          {20, true, false, ""},
          {20, true, false, "U30 R"}}},
        {"a large step of 0 counts as 1", 0, 0, 200, {{3, true, false, "U1 U1 U1 R"}}},
    };
    for (const FrameCase& c : cases) {
        FakeClock clock;
        CRefPointer<StubDevice> engine(new StubDevice(clock));
        FrameLog frames;
        engine->addReceiver(&frames, 0);
        int passIndex = 0;
        for (const Pass& pass : c.passes) {
            clock.advanceMs(pass.advanceMs);
            engine->getTimer()->tick();
            frames.text.clear();
            engine->stepFrame(pass.update, pass.render, c.minimumStep, c.largeStep, c.lagCap);
            EXPECT_EQ(frames.text, pass.posted) << c.name << ", pass " << passIndex;
            ++passIndex;
        }
        engine->removeReceiver(&frames);
    }
}

TEST_F(EngineTest, FrameStepStopsAndStartsTheTimer) {
    CTimer& timer = *engine->getTimer();
    engine->stepFrame(false, true, 20, 1000, 200);
    EXPECT_TRUE(timer.isStopped());
    engine->stepFrame(true, false, 20, 1000, 200);
    EXPECT_FALSE(timer.isStopped());
    engine->stepFrame(false, false, 20, 1000, 200);
    EXPECT_TRUE(timer.isStopped());
}

TEST_F(EngineTest, FrameStepRefreshesTheCursorWhenAFrameIsAsked) {
    StubCursor* cursor = new StubCursor(probes);
    engine->m_cursorControl = CRefPointer<ICursorControl>(cursor);
    engine->stepFrame(false, false, 20, 1000, 200);
    EXPECT_EQ(cursor->reads, 0);
    engine->stepFrame(false, true, 20, 1000, 200);
    engine->stepFrame(true, false, 20, 1000, 200);
    EXPECT_EQ(cursor->reads, 2);
}

TEST_F(EngineTest, UpdateStepSettersStoreZeroAsOne) {
    EXPECT_EQ(engine->getMinUpdateInterval(), 5u);
    EXPECT_EQ(engine->getMaxUpdateStep(), 15u);
    engine->setMinUpdateInterval(0);
    engine->setMaxUpdateStep(0);
    EXPECT_EQ(engine->getMinUpdateInterval(), 1u);
    EXPECT_EQ(engine->getMaxUpdateStep(), 1u);
    engine->setMinUpdateInterval(20);
    engine->setMaxUpdateStep(1000);
    EXPECT_EQ(engine->getMinUpdateInterval(), 20u);
    EXPECT_EQ(engine->getMaxUpdateStep(), 1000u);
}

TEST_F(EngineTest, ConstructionSetsTheDefaultProperties) {
    CProperties* properties = engine->getGlobalProperties();
    ASSERT_NE(properties, nullptr);
    EXPECT_TRUE(properties->getStringW("PublisherName") == u"Vantor");
    EXPECT_TRUE(properties->getStringW("TitleName") == u"Vantor Title");
    EXPECT_TRUE(properties->getStringW("TitleCaption") == u"Vantor Title");
    EXPECT_EQ(engine->getCategoryMask(), 0xFFFFFFFFu);
    EXPECT_FALSE(engine->isFullScreen());
}

TEST(CreationParametersTest, DefaultsAndCopiesKeepTheEngineVersion) {
    CreationParameters parameters;
    EXPECT_EQ(parameters.driverType, 0u);
    EXPECT_EQ(parameters.width, 800u);
    EXPECT_EQ(parameters.height, 600u);
    EXPECT_EQ(parameters.bits, 16u);
    EXPECT_EQ(parameters.depthBits, 16u);
    EXPECT_EQ(parameters.options[1], 1u);
    EXPECT_STREQ(parameters.version.text, "0.9.0");

    parameters.fullScreen = true;
    parameters.audio.driverType = 1;
    parameters.version.text = "other";
    const CreationParameters copy(parameters);
    EXPECT_TRUE(copy.fullScreen);
    EXPECT_EQ(copy.audio.driverType, 1u);
    EXPECT_STREQ(copy.version.text, "0.9.0");
}

TEST(EngineGammaTest, EstimatingABuiltRampGivesItsGamma) {
    for (float gamma : {0.5f, 1.0f, 1.8f, 2.2f, 3.0f}) {
        uint16_t ramp[CEngine::kGammaRampSize];
        CEngine::buildGammaRamp(ramp, gamma, 0.0f, 0.0f);
        float estimated = 0.0f;
        CEngine::estimateGamma(estimated, ramp);
        EXPECT_NEAR(estimated, gamma, gamma * 0.03f) << gamma;
    }
}

TEST(EngineGammaTest, RampEntries) {
    uint16_t ramp[CEngine::kGammaRampSize];
    CEngine::buildGammaRamp(ramp, 1.0f, 0.0f, 0.0f);
    for (uint32_t i = 0; i < CEngine::kGammaRampSize; ++i)
        ASSERT_EQ(ramp[i], i * 257) << i;

    // Gamma 0 is exponent 0: every entry at the top.
    CEngine::buildGammaRamp(ramp, 0.0f, 0.0f, 0.0f);
    for (uint16_t entry : ramp)
        ASSERT_EQ(entry, 65535);

    // Brightness adds its offset and the ends clamp.
    CEngine::buildGammaRamp(ramp, 1.0f, 0.5f, 0.0f);
    EXPECT_EQ(ramp[0], 8191);
    EXPECT_EQ(ramp[250], 65535);
    CEngine::buildGammaRamp(ramp, 1.0f, -0.5f, 0.0f);
    EXPECT_EQ(ramp[10], 0);
    EXPECT_EQ(ramp[255], 65535 - 8191);
}

// Contrast 2 makes the scale infinite and larger contrasts make it negative; the entries clamp
// instead of converting infinity or NaN to an integer.
TEST(EngineGammaTest, ExtremeContrastClampsEveryEntry) {
    uint16_t ramp[CEngine::kGammaRampSize];
    CEngine::buildGammaRamp(ramp, 1.0f, 0.0f, 2.0f);
    EXPECT_EQ(ramp[0], 0);
    for (uint32_t i = 1; i < CEngine::kGammaRampSize; ++i)
        ASSERT_EQ(ramp[i], 65535) << i;

    CEngine::buildGammaRamp(ramp, 2.2f, 0.0f, 3.0f);
    for (uint16_t entry : ramp)
        ASSERT_EQ(entry, 0);
    float gamma = 0.0f;
    CEngine::estimateGamma(gamma, ramp);
    EXPECT_EQ(gamma, 1.0f);
}

class EngineLifecycleTest : public testing::Test {
protected:
    void TearDown() override {
        deviceFactory() = nullptr;
        engineSubsystemFactories() = EngineSubsystemFactories();
    }

    ProbeLog probes;
};

TEST_F(EngineLifecycleTest, InstanceCreatesTheDeviceOnceAndAgainAfterRelease) {
    EXPECT_EQ(CEngine::instance(), nullptr);

    deviceFactory() = &StubDevice::create;
    CEngine* first = CEngine::instance();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(CEngine::instance(), first);
    first->release();

    CEngine* second = CEngine::instance();
    ASSERT_NE(second, nullptr);
    second->release();
}

ProbeLog* g_subsystemLog = nullptr;

TEST_F(EngineLifecycleTest, SubsystemsAreMadeInOrderAndTheirReceiversRegistered) {
    g_subsystemLog = &probes;
    EngineSubsystemFactories& factories = engineSubsystemFactories();
    factories.profileManager = [](CEngine&) {
        return Probe::reference<CProfileManager>("profiles", *g_subsystemLog);
    };
    factories.contentProcessorsManager = [](CEngine&) {
        return Probe::reference<CContentProcessorsManager>("processors", *g_subsystemLog);
    };
    factories.soundPlayer = [](CEngine&) {
        return Probe::reference<CSoundPlayer>("soundPlayer", *g_subsystemLog);
    };
    {
        FakeClock clock;
        clock.advanceMs(500);
        CRefPointer<StubDevice> engine(new StubDevice(clock));
        NamedReceiver application("application", probes.events);
        engine->addReceiver(&application, 0);
        GameEvent event;
        engine->postEvent(event);
        EXPECT_EQ(probes.events, (Log{"processors", "application", "soundPlayer"}));
        engine->removeReceiver(&application);

        // Update timing starts at creation: the first 20 ms are one update of 20.
        FrameLog frames;
        engine->addReceiver(&frames, 0);
        clock.advanceMs(20);
        engine->getTimer()->tick();
        engine->stepFrame(true, false, 20, 1000, 200);
        EXPECT_EQ(frames.text, "U20 R");
        engine->removeReceiver(&frames);
    }
    // The profile manager is no receiver, and the engine releases in its own order.
    EXPECT_EQ(probes.releases, (Log{"profiles", "soundPlayer", "processors"}));
    g_subsystemLog = nullptr;
}

TEST_F(EngineLifecycleTest, DestructionReleasesTheServicesInOrder) {
    StubDevice* engine = new StubDevice();
    engine->m_fileSystem = Probe::reference<IVirtualFileSystem>("fileSystem", probes);
    engine->m_cursorControl = CRefPointer<ICursorControl>(new StubCursor(probes));
    engine->m_systemInfo = Probe::reference<ISystemInfo>("systemInfo", probes);
    engine->m_contentProcessorsManager =
        Probe::reference<CContentProcessorsManager>("processors", probes);
    engine->m_displayModeList = Probe::reference<CVideoModeList>("displayModes", probes);
    engine->m_videoDriver = Probe::reference<IRenderDriver>("videoDriver", probes);
    engine->m_soundPlayer = Probe::reference<CSoundPlayer>("soundPlayer", probes);
    engine->m_audioDriver = Probe::reference<IAudioDriver>("audioDriver", probes);
    engine->m_profileManager = Probe::reference<CProfileManager>("profiles", probes);
    ASSERT_EQ(CEngine::instance(), engine);

    engine->release();
    EXPECT_EQ(probes.releases,
              (Log{"audioDriver", "videoDriver", "profiles", "soundPlayer", "processors",
                   "fileSystem", "systemInfo", "cursor", "displayModes"}));
    EXPECT_EQ(CEngine::instance(), nullptr);
}

TEST_F(EngineLifecycleTest, ManagersComeFromTheirFactories) {
    CRefPointer<StubDevice> engine(new StubDevice());
    EXPECT_EQ(engine->createContentManager().get(), nullptr);

    g_subsystemLog = &probes;
    engineSubsystemFactories().sceneManager = [](CEngine&) {
        return Probe::reference<SceneManager>("sceneManager", *g_subsystemLog);
    };
    engine->createSceneManager();
    EXPECT_EQ(probes.releases, (Log{"sceneManager"}));
    g_subsystemLog = nullptr;

    CRefPointer<CScheduler> scheduler = engine->createScheduler();
    ASSERT_TRUE(scheduler);
    EXPECT_EQ(scheduler->getRefCount(), 1);
}

} // namespace
