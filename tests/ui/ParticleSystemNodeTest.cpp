#include "engine/ui/ParticleSystemNode.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/Properties.h"
#include "engine/core/PropertyDataContent.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/io/ContentManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/ui/PointEmitter.h"
#include "engine/video/ColorFormat.h"
#include "ui/ParticleServices.h"
#include "video/RecordingRenderDriver.h"

namespace {

// Records the world matrix each draw is made with.
class WorldRecordingDriver : public RecordingRenderDriver {
public:
    void setMatrix(uint32_t slot, const CMatrix4& matrix) override {
        if (slot == TRANSFORM_WORLD)
            world = matrix;
    }

    void drawPrimitives(const void* vertices, uint32_t vertexCount, const void* indices,
                        uint32_t primitiveCount, uint32_t vertexType, uint32_t indexType,
                        uint32_t primitiveType) override {
        worlds.push_back(world);
        RecordingRenderDriver::drawPrimitives(vertices, vertexCount, indices, primitiveCount,
                                              vertexType, indexType, primitiveType);
    }

    CMatrix4 world;
    std::vector<CMatrix4> worlds;
};

CVector2d translationOf(const CMatrix4& matrix) {
    return CVector2d(matrix[12], matrix[13]);
}

// The centre of a drawn quad.
CVector2d centreOf(const std::vector<CVertex>& vertices, uint32_t quad) {
    const CVertex& a = vertices[4 * quad];
    const CVertex& c = vertices[4 * quad + 2];
    return CVector2d((a.position.x + c.position.x) / 2, (a.position.y + c.position.y) / 2);
}

class ParticleSystemNodeTest : public ParticleServicesTest {
protected:
    ParticleSystemNodeTest() {
        // A 64 x 32 page; the frame is its top right quarter, 32 x 16 pixels.
        page = CRefPointer<CImageTexture>(new CImageTexture(
            CContentKey(), u"page",
            CRefPointer<IDriverTexture>(new FakeDriverTexture(COLOR_FORMAT_A8R8G8B8, 64, 32))
                .get()));
        texture = CRefPointer<CAtlasTexture>(
            new CAtlasTexture(CContentKey(), page, CRect(0.5f, 0, 1, 0.5f), {}, {}));
        publish(u"Sparks", {100, 100}, {1000, 1000});
        publish(u"Slow", {10, 10}, {5000, 5000});
    }

    void publish(const char16_t* name, CVector2d pps, CVector2d lifetime) {
        CRefPointer<PointEmitter> emitter(new PointEmitter(CContentKey(manager.get(), u"")));
        emitter->setName(CString(name));
        emitter->setPpsRange(pps);
        emitter->setLifeTimeRange(lifetime);
        manager->addToCacheAs(CContentKey(manager.get(), name), emitter.get());
    }

    CRefPointer<ParticleSystemNode> makeNode(BaseNode* parent = nullptr) {
        CRefPointer<ParticleSystemNode> node(
            new ParticleSystemNode(CContentKey(manager.get(), u""), parent, nullptr));
        return node;
    }

    // The node with the emitter and the texture.
    CRefPointer<ParticleSystemNode> makeEffect(const char* emitter, BaseNode* parent = nullptr) {
        CRefPointer<ParticleSystemNode> node = makeNode(parent);
        node->setEmitterName(emitter);
        node->setTexture(texture.get());
        return node;
    }

    // A render pass over the node: what it adds to the render list.
    static RenderList collect(BaseNode& root) {
        RenderList list;
        root.collectDrawables(list);
        return list;
    }

    // A render pass, then each entry drawn.
    void draw(BaseNode& root) {
        for (const Drawable& entry : collect(root))
            entry.node->render(driver.get(), nullptr);
    }

    CRefPointer<IVirtualFileSystem> files{new CVirtualFileSystem};
    CRefPointer<CContentProcessorsManager> processors{
        new CContentProcessorsManager({{}, {}, files, {}})};
    CRefPointer<CContentManager> manager{new CContentManager({}, files, processors)};
    CRefPointer<WorldRecordingDriver> driver{new WorldRecordingDriver()};
    CRefPointer<CImageTexture> page;
    CRefPointer<CAtlasTexture> texture;
};

TEST_F(ParticleSystemNodeTest, AllParticlesAreDrawnInOneCallWithOneQuadEach) {
    CRefPointer<ParticleSystemNode> node = makeEffect("Sparks");
    node->setPosition({100, 50, 7});
    node->setTintColor(CColor(0x80FFFFFF));
    EXPECT_EQ(collect(*node).size(), 0u);

    node->getEmitter()->OnUpdate(100);
    ASSERT_EQ(node->getParticles().size(), 10u);
    EXPECT_TRUE(node->OnUpdate(30));
    const RenderList list = collect(*node);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].node, node.get());
    EXPECT_EQ(list[0].depth, 7);

    draw(*node);
    ASSERT_EQ(driver->draws.size(), 1u);
    const RecordingRenderDriver::Draw& drawn = driver->draws[0];
    EXPECT_EQ(drawn.primitiveCount, 20u);
    EXPECT_EQ(drawn.primitiveType, uint32_t(PRIMITIVE_TRIANGLES));
    EXPECT_EQ(drawn.vertexType, uint32_t(VERTEX_TYPE_STANDARD));
    ASSERT_EQ(drawn.vertices.size(), 40u);
    EXPECT_EQ(drawn.indices.size(), 60u);
    EXPECT_EQ(drawn.texture, page.get());
    // Born at the node's origin in its own space; the frame is 32 x 16 pixels.
    const float corners[4][2] = {{-16, -8}, {16, -8}, {16, 8}, {-16, 8}};
    for (uint32_t v = 0; v < 4; ++v) {
        EXPECT_EQ(drawn.vertices[v].position.x, corners[v][0]) << v;
        EXPECT_EQ(drawn.vertices[v].position.y, corners[v][1]) << v;
        EXPECT_EQ(drawn.vertices[v].color.value, 0x80FFFFFFu) << v;
    }
    EXPECT_EQ(drawn.vertices[1].texCoord, CVector2d(1, 0));
    // Through the node's transform without its depth, then back to the identity.
    EXPECT_EQ(translationOf(driver->worlds[0]), CVector2d(100, 50));
    EXPECT_EQ(driver->worlds[0][14], 0);
    EXPECT_TRUE(driver->world.isIdentity());

    const RenderMaterial& material = driver->applied;
    EXPECT_EQ(material.type, uint32_t(MATERIAL_TRANS_ALPHACH_VERTEXALPHA));
    EXPECT_EQ(material.layerCount, 1u);
    EXPECT_TRUE(material.layers[0].trilinearFilter);
    EXPECT_FALSE(material.lighting);
    EXPECT_FALSE(material.smoothShading);
    EXPECT_FALSE(material.depthWrite);
    EXPECT_EQ(material.depthTest, 0);
}

TEST_F(ParticleSystemNodeTest, GlobalParticlesStayWhereTheyWereBornWhenTheNodeMoves) {
    for (const bool global : {false, true}) {
        CRefPointer<BaseNode> parent(new BaseNode(CContentKey(), nullptr, nullptr));
        parent->setPosition({100, 50, 0});
        CRefPointer<ParticleSystemNode> node = makeNode(parent.get());
        node->setGlobal(global);
        node->setEmitterName("Sparks");
        node->setTexture(texture.get());
        // The first render pass places the emitter before it ever ticks.
        collect(*parent);
        node->getEmitter()->OnUpdate(10);
        node->OnUpdate(10);
        draw(*parent);
        parent->setPosition({200, 50, 0});
        node->OnUpdate(10);
        draw(*parent);

        ASSERT_EQ(driver->draws.size(), 2u) << global;
        for (int i = 0; i < 2; ++i) {
            const CVector2d world = translationOf(driver->worlds[size_t(i)]);
            const CVector2d centre = centreOf(driver->draws[size_t(i)].vertices, 0);
            // On screen: the particle where it was born, or following its parent.
            const CVector2d onScreen(world.x + centre.x, world.y + centre.y);
            EXPECT_EQ(onScreen, global ? CVector2d(100, 50) : CVector2d(i == 0 ? 100 : 200, 50))
                << global << " draw " << i;
        }
        driver->draws.clear();
        driver->worlds.clear();
    }
}

TEST_F(ParticleSystemNodeTest, DeadParticlesAreNotDrawnAndTheGeometryKeepsItsRoom) {
    CRefPointer<ParticleSystemNode> node = makeEffect("Sparks");
    CArray<Particle>& particles = node->getParticles();
    for (uint32_t i = 0; i < 10; ++i) {
        Particle p{};
        p.size = 1;
        // Four die in the next update; one of them has a lifetime of 0 and is never drawn.
        p.lifetime = i % 3 == 0 ? i : 1000;
        particles.append(p);
    }
    node->rebuildGeometry();
    EXPECT_EQ(node->getGeometry().primitiveCount, 20u);

    node->OnUpdate(30);
    EXPECT_EQ(particles.size(), 6u);
    EXPECT_EQ(node->getGeometry().getVertexCount(), 40u);
    EXPECT_EQ(node->getGeometry().getIndexCount(), 60u);
    EXPECT_EQ(node->getGeometry().primitiveCount, 12u);
    draw(*node);
    ASSERT_EQ(driver->draws.size(), 1u);
    EXPECT_EQ(driver->draws[0].primitiveCount, 12u);
}

TEST_F(ParticleSystemNodeTest, WithoutATextureParticlesWaitUnagedAndNothingIsDrawn) {
    CRefPointer<ParticleSystemNode> node = makeNode();
    node->setEmitterName("Sparks");
    node->getEmitter()->OnUpdate(50);
    ASSERT_EQ(node->getParticles().size(), 5u);
    EXPECT_FALSE(node->OnUpdate(30));
    EXPECT_EQ(node->getParticles()[0].age, 0);
    EXPECT_EQ(collect(*node).size(), 0u);

    node->setTexture(texture.get());
    EXPECT_TRUE(node->OnUpdate(30));
    EXPECT_EQ(node->getParticles()[0].age, 30);
    EXPECT_EQ(collect(*node).size(), 1u);

    // An empty node leaves the clock until the next render pass.
    node->getParticles().truncate(0);
    EXPECT_FALSE(node->OnUpdate(30));
}

TEST_F(ParticleSystemNodeTest, PreGenerationRunsInWholeStepsOnceOnTheFirstVisiblePass) {
    // 10 particles per second over steps of 200 ms: two new ones per step.
    struct Case {
        const char* what;
        int32_t pregen;
        bool byName;
        bool visible;
        bool cloned;
        uint32_t particles;
    };
    const Case cases[] = {
        {"set by name", 1000, true, true, false, 10},
        {"a part of a step is a whole step", 250, true, true, false, 4},
        {"invisible", 1000, true, false, false, 0},
        {"loaded", 1000, false, true, false, 0},
        {"a clone of a loaded node", 1000, false, true, true, 10},
    };
    for (const Case& c : cases) {
        CRefPointer<ParticleSystemNode> node = makeEffect("Slow");
        node->setVisible(c.visible);
        if (c.byName) {
            node->setPropertyByIndex(node->findProperty("PregenTime"), makeIntProperty(c.pregen));
        } else {
            CRefPointer<CProperties> properties(new CProperties());
            properties->addInt("PregenTime", c.pregen);
            node->loadProperties(*properties);
        }
        if (c.cloned)
            node = CRefPointer<ParticleSystemNode>::share(
                static_cast<ParticleSystemNode*>(node->clone(nullptr, nullptr).get()));
        collect(*node);
        EXPECT_EQ(node->getParticles().size(), c.particles) << c.what;
        collect(*node);
        EXPECT_EQ(node->getParticles().size(), c.particles) << c.what << ", second pass";
    }
}

TEST_F(ParticleSystemNodeTest, PreGeneratedParticlesHaveAgedWithTheSteps) {
    CRefPointer<ParticleSystemNode> node = makeEffect("Slow");
    node->setPregenTime(600);
    collect(*node);
    std::vector<int32_t> ages;
    for (const Particle& p : node->getParticles())
        ages.push_back(p.age);
    EXPECT_EQ(ages, (std::vector<int32_t>{600, 600, 400, 400, 200, 200}));
}

TEST_F(ParticleSystemNodeTest, PreGenerationStopsAfterTenMinutesOfEffectTime) {
    publish(u"Endless", {1, 1}, {1e9f, 1e9f});
    CRefPointer<ParticleSystemNode> node = makeEffect("Endless");
    node->setPregenTime(INT32_MAX);
    collect(*node);
    int32_t oldest = 0;
    for (const Particle& p : node->getParticles())
        oldest = p.age > oldest ? p.age : oldest;
    EXPECT_GT(oldest, 590000);
    EXPECT_LE(oldest, 600000);
}

TEST_F(ParticleSystemNodeTest, SavesItsSettingsUnderTheirKeysAndLoadsThemBack) {
    CRefPointer<ParticleSystemNode> source = makeEffect("Sparks");
    CRefPointer<CProperties> defaults(new CProperties());
    makeNode()->saveProperties(*defaults);
    EXPECT_EQ(defaults->getCount(), 0);

    source->setEnabled(false);
    source->setEmitterEnabled(false);
    source->setPregenTime(300);
    source->setGlobal(true);
    CRefPointer<CProperties> saved(new CProperties());
    source->saveProperties(*saved);
    EXPECT_EQ(saved->getStringW("EmitterName"), CStringW(u"Sparks"));
    EXPECT_GE(saved->indexOf("ParticleTexture"), 0);
    EXPECT_FALSE(saved->getBool("Enabled"));
    EXPECT_FALSE(saved->getBool("EmitterEnabled"));
    EXPECT_EQ(saved->getInt("PregenTime"), 300);
    EXPECT_TRUE(saved->getBool("Global"));

    CRefPointer<ParticleSystemNode> loaded = makeNode();
    loaded->loadProperties(*saved);
    EXPECT_EQ(loaded->getEmitterName(), CString("Sparks"));
    EXPECT_NE(loaded->getEmitter(), source->getEmitter());
    EXPECT_EQ(loaded->getTexture(), texture.get());
    EXPECT_FALSE(loaded->isEnabled());
    EXPECT_FALSE(loaded->isEmitterEnabled());
    EXPECT_EQ(loaded->getPregenTime(), 300);
    EXPECT_TRUE(loaded->isGlobal());

    // A value of another kind: the texture is none and a switch is off.
    CRefPointer<CProperties> wrong(new CProperties());
    wrong->addInt("ParticleTexture", 1);
    wrong->addInt("EmitterEnabled", 1);
    CRefPointer<ParticleSystemNode> node = makeEffect("Sparks");
    node->loadProperties(*wrong);
    EXPECT_EQ(node->getTexture(), nullptr);
    EXPECT_FALSE(node->isEmitterEnabled());
}

TEST_F(ParticleSystemNodeTest, TheTextureIsSetByItsTableNameAndTheEmitterByItsPublishedName) {
    CRefPointer<ParticleSystemNode> node = makeNode();
    EXPECT_LT(node->findProperty("ParticleTexture"), 0);
    node->setPropertyByIndex(node->findProperty("AtlasTexture"),
                             makeAtlasTextureProperty(texture.get()));
    EXPECT_EQ(node->getTexture(), texture.get());
    EXPECT_EQ(node->getMaterial().layers[0].texture, page.get());

    const int32_t name = node->findProperty("EmitterName");
    node->setPropertyByIndex(name, makeStringWProperty(u"Slow"));
    EXPECT_EQ(node->getEmitterName(), CString("Slow"));
    EXPECT_EQ(getPropertyText(node->getPropertyByIndex(name)), CString("Slow"));
    EXPECT_EQ(node->getEmitter()->getParticles(), &node->getParticles());

    // A name nobody published, or a node no content manager loaded: no emitter.
    node->setPropertyByIndex(name, makeStringWProperty(u"Nothing"));
    EXPECT_EQ(node->getEmitter(), nullptr);
    CRefPointer<ParticleSystemNode> orphan(new ParticleSystemNode(CContentKey(), nullptr, nullptr));
    orphan->setEmitterName("Slow");
    EXPECT_EQ(orphan->getEmitter(), nullptr);
}

TEST_F(ParticleSystemNodeTest, AClonedNodeDrivesACopyOfTheEmitterWithItsOwnParticles) {
    CRefPointer<ParticleSystemNode> source = makeEffect("Sparks");
    source->setGlobal(true);
    source->setPregenTime(400);
    source->getEmitter()->OnUpdate(100);
    CRefPointer<BaseNode> parent(new BaseNode(CContentKey(), nullptr, nullptr));
    auto* copy = static_cast<ParticleSystemNode*>(source->clone(parent.get(), nullptr).get());

    EXPECT_EQ(copy->getParent(), parent.get());
    EXPECT_EQ(copy->getParticles().size(), 0u);
    EXPECT_NE(copy->getEmitter(), source->getEmitter());
    EXPECT_EQ(copy->getEmitterName(), CString("Sparks"));
    EXPECT_EQ(copy->getTexture(), texture.get());
    EXPECT_TRUE(copy->isGlobal());
    EXPECT_FALSE(copy->getMaterial().differsFrom(source->getMaterial()));
    copy->getEmitter()->OnUpdate(50);
    EXPECT_EQ(copy->getParticles().size(), 5u);
    EXPECT_EQ(source->getParticles().size(), 10u);
}

// A node in an open scene, whose clock the test moves on.
class ParticleSceneTest : public ParticleSystemNodeTest {
protected:
    ParticleSceneTest() {
        scenes->openScene(scene.get(), CNameId());
        node = makeEffect("Sparks", scene.get());
    }

    // Frames of 30 ms: the clock moves on, then a render pass.
    void tick(int frames) {
        for (int i = 0; i < frames; ++i) {
            scene->getClock()->update(30);
            collect(*scene);
        }
    }

    int32_t firstAge() const { return node->getParticles()[0].age; }

    CRefPointer<SceneManager> scenes{new SceneManager(CContentKey(), nullptr, nullptr)};
    CRefPointer<SceneNode> scene{new SceneNode(CContentKey(), nullptr, nullptr)};
    CRefPointer<ParticleSystemNode> node;
};

TEST_F(ParticleSceneTest, AnInvisibleNodeNeverStartsAndTheFirstVisiblePassStartsBoth) {
    node->setVisible(false);
    tick(10);
    EXPECT_EQ(node->getScheduler(), nullptr);
    EXPECT_EQ(node->getEmitter()->getScheduler(), nullptr);
    EXPECT_EQ(node->getParticles().size(), 0u);

    node->setVisible(true);
    collect(*scene);
    EXPECT_EQ(node->getScheduler(), scene->getClock());
    EXPECT_EQ(node->getEmitter()->getScheduler(), scene->getClock());
    tick(10);
    EXPECT_EQ(node->getParticles().size(), 30u);
    // The node's update of a frame comes before the emitter's.
    EXPECT_EQ(firstAge(), 270);
}

TEST_F(ParticleSceneTest, DisabledParticlesFreezeAndWithoutTheEmitterTheyLiveOut) {
    collect(*scene);
    tick(4);
    node->setEnabled(false);
    EXPECT_EQ(node->getScheduler(), nullptr);
    const int32_t frozen = firstAge();
    const uint32_t built = node->getGeometry().primitiveCount;
    tick(4);
    EXPECT_EQ(firstAge(), frozen);
    // The emitter goes on filling the array meanwhile; the quads stay as last built.
    EXPECT_EQ(node->getParticles().size(), 24u);
    EXPECT_EQ(collect(*scene).size(), 1u);
    EXPECT_EQ(node->getGeometry().primitiveCount, built);

    node->setEnabled(true);
    tick(1);
    EXPECT_EQ(firstAge(), frozen + 30);

    node->setEmitterEnabled(false);
    EXPECT_EQ(node->getEmitter()->getScheduler(), nullptr);
    collect(*scene);
    const uint32_t count = node->getParticles().size();
    tick(5);
    EXPECT_LE(node->getParticles().size(), count);
    tick(40);
    EXPECT_EQ(node->getParticles().size(), 0u);
    // Without particles the node leaves the clock; a render pass brings it back.
    scene->getClock()->update(30);
    EXPECT_EQ(node->getScheduler(), nullptr);
    collect(*scene);
    EXPECT_EQ(node->getScheduler(), scene->getClock());
}

TEST_F(ParticleSceneTest, ANodeRemovedFromItsSceneGoesAndLetsGoOfItsEmitter) {
    tick(2);
    const CRefPointer<BaseEmitter> emitter = CRefPointer<BaseEmitter>::share(node->getEmitter());
    scene->removeChild(node.get());
    node.reset();
    scene->getClock()->update(30);
    EXPECT_EQ(emitter->getScheduler(), nullptr);
    EXPECT_EQ(emitter->getParticles(), nullptr);
}

TEST_F(ParticleSystemNodeTest, IsAParticleSystemThatIsNeverHit) {
    CRefPointer<ParticleSystemNode> node = makeEffect("Sparks");
    EXPECT_EQ(node->getTypeName(), CStringW(u"ParticleSystemNode"));
    EXPECT_EQ(node->getTypeId(), 17u);
    EXPECT_TRUE(node->isKindOf(17));
    EXPECT_TRUE(node->isKindOf(0));
    EXPECT_FALSE(node->isKindOf(19));
    collect(*node);
    EXPECT_EQ(node->findHitNode({50, 50, 0}), nullptr);
}

} // namespace
