#include "engine/ui/SpawnerNode.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/PropertyDataProperties.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "ui/ParticleServices.h"

namespace {

// A spawned object's class: it takes a "LifeTime" and a "Score" (and removes nothing itself).
class LivingNode : public NodeClass<LivingNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 950;
    static constexpr const char16_t* kTypeName = u"LivingNode";

    using NodeClass::NodeClass;

    static const PropertyTable& classPropertyTable() {
        static const PropertyTable table = extendPropertyTable(
            BaseNode::classPropertyTable(), {fieldProperty<&LivingNode::lifeTime>("LifeTime"),
                                             fieldProperty<&LivingNode::score>("Score")});
        return table;
    }
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override {
        BaseNode::cloneMembers(source, sceneManager);
        score = static_cast<const LivingNode&>(source).score;
    }

    int32_t lifeTime = 0;
    int32_t score = 0;
};

// A scene with its clock in a scene manager whose template collection holds the invisible
// templates "Star" (a LivingNode at depth 3) and "Coin" (a plain node).
class SpawnerNodeTest : public ParticleServicesTest {
protected:
    SpawnerNodeTest() {
        CRefPointer<LivingNode> star(new LivingNode(CContentKey(), templates.get(), nullptr));
        star->setName(nameOf("Star"));
        star->setPosition({0, 0, 3});
        star->setVisible(false);
        CRefPointer<BaseNode> coin(new BaseNode(CContentKey(), templates.get(), nullptr));
        coin->setName(nameOf("Coin"));
        templates->OnLoaded();
        manager->setTemplateCollection(templates.get());
        manager->openScene(scene.get(), CNameId());
    }

    CRefPointer<SpawnerNode> makeSpawner(const char* names) {
        CRefPointer<SpawnerNode> spawner(new SpawnerNode(CContentKey(), scene.get(), nullptr));
        spawner->setObjTemplate(names);
        return spawner;
    }

    // A render pass over the scene.
    void collect() {
        RenderList list;
        scene->collectDrawables(list);
    }

    // The ticks (counted from 1) after which the spawner had more children than before.
    std::vector<int> ticksThatSpawn(SpawnerNode& spawner, int ticks, uint32_t ms) {
        std::vector<int> found;
        uint32_t count = spawner.getChildCount();
        for (int i = 1; i <= ticks; ++i) {
            scene->getClock()->update(ms);
            if (spawner.getChildCount() > count)
                found.push_back(i);
            count = spawner.getChildCount();
        }
        return found;
    }

    CRefPointer<SceneManager> manager{new SceneManager(CContentKey(), nullptr, nullptr)};
    CRefPointer<TemplateCollectionNode> templates{
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr)};
    CRefPointer<SceneNode> scene{new SceneNode(CContentKey(), nullptr, nullptr)};
};

TEST_F(SpawnerNodeTest, ObjectsComeAtTheRateAfterTheStartDelayOnTheSceneClock) {
    struct Case {
        CVector2d perSecond;
        CVector2d delay;
        std::vector<int> ticks;
    };
    const Case cases[] = {
        // 1020 ms (20 carried), then 2010 ms.
        {{1, 1}, {0, 0}, {34, 67}},
        // -500 to start with: the first once 1000 ms have passed (20 carried), then 500 ms on.
        {{2, 2}, {500, 500}, {34, 50, 67}},
        {{0, 0}, {0, 0}, {}},
        {{-1, -1}, {0, 0}, {}},
        {{NAN, NAN}, {0, 0}, {}},
    };
    for (const Case& c : cases) {
        CRefPointer<SpawnerNode> spawner = makeSpawner("Star");
        spawner->setPerSecRange(c.perSecond);
        spawner->setStartDelayRange(c.delay);
        spawner->setVisible(false);
        spawner->setEnabled(true);
        EXPECT_EQ(spawner->getTimer(), -c.delay.x);
        EXPECT_EQ(ticksThatSpawn(*spawner, 67, 30), c.ticks) << c.perSecond.x;
        scene->removeChild(spawner.get());
    }
}

TEST_F(SpawnerNodeTest, ARenderPassStartsAnEnabledSpawnerEvenWhenItIsHidden) {
    CRefPointer<SpawnerNode> spawner = makeSpawner("Star");
    spawner->setVisible(false);
    EXPECT_EQ(spawner->getScheduler(), nullptr);
    collect();
    EXPECT_EQ(spawner->getScheduler(), scene->getClock());

    // Off: the timer is cleared and the clock lets go; what was spawned stays.
    spawner->spawn(2);
    spawner->setEnabled(false);
    EXPECT_EQ(spawner->getScheduler(), nullptr);
    EXPECT_EQ(spawner->getTimer(), 0);
    collect();
    EXPECT_EQ(spawner->getScheduler(), nullptr);
    EXPECT_EQ(spawner->getChildCount(), 2u);
    // On again: a new start delay.
    spawner->setStartDelayRange({200, 200});
    spawner->setEnabled(true);
    EXPECT_EQ(spawner->getTimer(), -200);
    EXPECT_EQ(spawner->getChildCount(), 2u);
}

TEST_F(SpawnerNodeTest, OneTickClonesOneTemplateForAllItsObjects) {
    CRefPointer<SpawnerNode> spawner = makeSpawner("Star;Coin");
    spawner->setPerSecRange({100, 100});
    for (int tick = 0; tick < 8; ++tick) {
        const uint32_t before = spawner->getChildCount();
        spawner->OnUpdate(30);
        ASSERT_EQ(spawner->getChildCount(), before + 3);
        const CNameId name = spawner->getChild(before)->getName();
        for (uint32_t i = before; i < before + 3; ++i)
            EXPECT_EQ(spawner->getChild(i)->getName(), name);
    }
}

TEST_F(SpawnerNodeTest, ATickMakesAtMostAThousandObjects) {
    CRefPointer<SpawnerNode> spawner = makeSpawner("Coin");
    spawner->setPerSecRange({1e9f, 1e9f});
    spawner->OnUpdate(30);
    EXPECT_EQ(spawner->getChildCount(), 1000u);
    EXPECT_LT(spawner->getTimer(), 1);
}

TEST_F(SpawnerNodeTest, TemplateNamesAreTrimmedAndTheUnknownOnesSkipped) {
    CRefPointer<SpawnerNode> spawner = makeSpawner(" Star ; ;Coin;Moon ");
    EXPECT_EQ(spawner->getTemplateCount(), 2u);
    EXPECT_EQ(spawner->getObjTemplate(), CStringW(u"Star;Coin;Moon"));
    const int32_t index = spawner->findProperty("ObjTemplate");
    EXPECT_EQ(getPropertyText(spawner->getPropertyByIndex(index)), CString("Star;Coin;Moon"));

    // None of the names: nothing spawns, and the timer is spent all the same.
    spawner->setPropertyByIndex(index, makeStringWProperty(u"Moon"));
    EXPECT_EQ(spawner->getTemplateCount(), 0u);
    spawner->OnUpdate(3000);
    EXPECT_EQ(spawner->getChildCount(), 0u);
    EXPECT_EQ(spawner->getTimer(), 0);
}

TEST_F(SpawnerNodeTest, SpawnedObjectsAreScatteredVisibleGhostsWithTheValuesAndLifeTime) {
    CRefPointer<SpawnerNode> spawner = makeSpawner("Star");
    spawner->setXDeltaRange({10, 20});
    spawner->setYDeltaRange({-5, 5});
    spawner->setRotationDeltaRange({0, 90});
    spawner->setLifeTimeRange({1500, 1500});
    CRefPointer<CProperties> values(new CProperties());
    values->addInt("Score", 7);
    values->addInt("Unknown", 1);
    spawner->setObjectsProperties(values.get());
    CRandom expected = random();

    spawner->spawn(3);
    ASSERT_EQ(spawner->getChildCount(), 3u);
    expected.nextMwc();
    for (uint32_t i = 0; i < 3; ++i) {
        const auto* node = static_cast<const LivingNode*>(spawner->getChild(i));
        ASSERT_TRUE(node->isKindOf(LivingNode::kTypeId));
        const float x = expected.nextFloatInRange(10, 20);
        const float y = expected.nextFloatInRange(-5, 5);
        const float turn = expected.nextFloatInRange(0, 90);
        EXPECT_EQ(node->getPosition().x, x) << i;
        EXPECT_EQ(node->getPosition().y, y) << i;
        EXPECT_EQ(node->getPosition().z, 3) << i;
        EXPECT_EQ(node->getRotation().z, turn) << i;
        EXPECT_TRUE(node->isVisible());
        EXPECT_TRUE(node->isInternal());
        EXPECT_EQ(node->score, 7);
        EXPECT_EQ(node->lifeTime, 1500);
        EXPECT_EQ(node->getParent(), spawner.get());
    }
    // The lifetime range was a single value: nothing more was drawn.
    EXPECT_EQ(random().nextMwc(), expected.nextMwc());

    spawner->setGhost(false);
    spawner->spawn(1);
    EXPECT_FALSE(spawner->getChild(3)->isInternal());
}

TEST_F(SpawnerNodeTest, SavesWhatDiffersFromTheDefaultsAndLoadsItBack) {
    CRefPointer<SpawnerNode> source = makeSpawner("Star; Coin");
    CRefPointer<CProperties> defaults(new CProperties());
    makeSpawner("")->saveProperties(*defaults);
    EXPECT_EQ(defaults->getCount(), 0);

    source->setEnabled(false);
    source->setGhost(false);
    source->setStartDelayRange({100, 100});
    source->setPerSecRange({2, 3});
    source->setLifeTimeRange({500, 600});
    source->setXDeltaRange({1, 2});
    source->setYDeltaRange({3, 4});
    source->setRotationDeltaRange({5, 6});
    CRefPointer<CProperties> values(new CProperties());
    values->addInt("Score", 7);
    source->setObjectsProperties(values.get());
    CRefPointer<CProperties> saved(new CProperties());
    source->saveProperties(*saved);
    EXPECT_EQ(saved->getStringW("ObjTemplate"), CStringW(u"Star;Coin"));
    EXPECT_EQ(saved->getCount(), 10);
    EXPECT_EQ(saved->getNameAt(saved->getCount() - 1), CString("ObjectsProperties"));

    CRefPointer<SpawnerNode> loaded = makeSpawner("");
    loaded->loadProperties(*saved);
    CRefPointer<CProperties> again(new CProperties());
    loaded->saveProperties(*again);
    ASSERT_EQ(again->getCount(), saved->getCount());
    for (int32_t i = 0; i < saved->getCount(); ++i) {
        EXPECT_EQ(again->getNameAt(i), saved->getNameAt(i));
        EXPECT_TRUE(again->getValueAt(i)->equals(saved->getValueAt(i).get())) << i;
    }
    EXPECT_EQ(loaded->getTemplateCount(), 2u);
    EXPECT_EQ(loaded->getScheduler(), nullptr);
}

TEST_F(SpawnerNodeTest, LoadingRestartsTheStartDelayAndTakesOtherKindsAsZero) {
    CRefPointer<SpawnerNode> spawner = makeSpawner("Star");
    spawner->setStartDelayRange({300, 300});
    CRefPointer<CProperties> empty(new CProperties());
    spawner->loadProperties(*empty);
    EXPECT_EQ(spawner->getTimer(), -300);

    CRefPointer<CProperties> wrong(new CProperties());
    wrong->addFloat("ObjectsSpawnStartDelayRange", 1);
    wrong->addInt("ObjectsProperties", 1);
    wrong->addInt("Enabled", 1);
    spawner->setObjectsProperties(empty.get());
    spawner->loadProperties(*wrong);
    EXPECT_EQ(spawner->getTimer(), 0);
    EXPECT_FALSE(spawner->isEnabled());
    CRefPointer<CProperties> saved(new CProperties());
    spawner->saveProperties(*saved);
    EXPECT_LT(saved->indexOf("ObjectsProperties"), 0);
}

TEST_F(SpawnerNodeTest, TemplatesComeWithTheManagerAndWhenTheCollectionChanges) {
    CRefPointer<SpawnerNode> spawner(new SpawnerNode(CContentKey(), nullptr, nullptr));
    spawner->setObjTemplate("Star;Comet");
    EXPECT_EQ(spawner->getTemplateCount(), 0u);
    CEventNodeAttached attached(manager.get());
    EXPECT_FALSE(spawner->OnEvent(attached));
    EXPECT_EQ(spawner->getTemplateCount(), 1u);

    CRefPointer<TemplateCollectionNode> other(
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr));
    for (const char* name : {"Comet", "Star"})
        CRefPointer<BaseNode>(new BaseNode(CContentKey(), other.get(), nullptr))
            ->setName(nameOf(name));
    other->OnLoaded();
    CEventNodeTemplatesChanged changed(other.get());
    EXPECT_FALSE(spawner->OnEvent(changed));
    EXPECT_EQ(spawner->getTemplateCount(), 2u);
    spawner->spawn(1);
    EXPECT_EQ(spawner->getChild(0)->getParent(), spawner.get());
}

TEST_F(SpawnerNodeTest, AClonedSpawnerSharesTheValuesAndDrawsItsOwnStartDelay) {
    CRefPointer<SpawnerNode> source = makeSpawner("Star");
    source->setStartDelayRange({100, 200});
    source->setPerSecRange({4, 4});
    CRefPointer<CProperties> values(new CProperties());
    values->addInt("Score", 9);
    source->setObjectsProperties(values.get());
    source->spawn(2);

    auto* copy = static_cast<SpawnerNode*>(source->clone(scene.get(), nullptr).get());
    EXPECT_TRUE(copy->isKindOf(SpawnerNode::kTypeId));
    EXPECT_EQ(copy->getTemplateCount(), 1u);
    EXPECT_LE(copy->getTimer(), -100);
    EXPECT_GE(copy->getTimer(), -200);
    EXPECT_EQ(copy->getScheduler(), scene->getClock());
    values->setInt("Score", 11);
    copy->spawn(1);
    EXPECT_EQ(static_cast<const LivingNode*>(copy->getChild(copy->getChildCount() - 1))->score, 11);
}

} // namespace
