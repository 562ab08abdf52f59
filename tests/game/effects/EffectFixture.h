#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/core/EngineServices.h"
#include "engine/core/PropertyData.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/Random.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Scheduler.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/ui/UiRegistration.h"
#include "game/app/GameClassRegistration.h"
#include "game/effects/Path.h"
#include "tests/scene/SceneXmlFixtures.h"

// A child that writes down every state it is asked to enter ("Start", "Right" ...), known to
// it or not.
class StateLogNode : public NodeClass<StateLogNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 990;
    static constexpr const char16_t* kTypeName = u"StateLogNode";

    using NodeClass::NodeClass;

    void setState(CNameId name, StateFallback fallback, CNameId reportedName) override {
        states.push_back(name.toString().c_str());
        BaseNode::setState(name, fallback, reportedName);
    }

    std::vector<std::string> states;
};

// Effect nodes in an open scene with its own clock, in a scene manager with a template
// collection; the engine's generator seeded the same way for every test, and the node
// factory knowing the engine's and the game's classes.
class EffectScene {
public:
    EffectScene() {
        registerUiLibrary();
        CEngineServices::destroyInstance();
        registerGameClasses();
        random().seed(20260430);
        manager->setTemplateCollection(templates.get());
        manager->openScene(scene.get(), CNameId());
    }
    ~EffectScene() {
        scene->removeAllChildren();
        CEngineServices::destroyInstance();
    }

    static CRandom& random() { return *CEngineServices::instance()->getRandom(); }
    static CNameId name(const char* text) { return CNameId(CString(text)); }

    // The texts the engine gives values of each type, as a node's property reads back.
    static CString V(float x, float y) { return getPropertyText(makeVector2dProperty({x, y})); }
    static CString V3(float x, float y, float z) {
        return getPropertyText(makeVector3dProperty({x, y, z}));
    }
    static CString F(float value) { return getPropertyText(makeFloatProperty(value)); }
    static CString I(int32_t value) { return getPropertyText(makeIntProperty(value)); }
    static CString B(bool value) { return getPropertyText(makeBoolProperty(value)); }

    // A node of the class of that name, made by the node factory.
    static CRefPointer<BaseNode> create(const char16_t* typeName) {
        return CEngineServices::instance()->getNodeFactory()->createNode(typeName, CContentKey());
    }
    static CString valueOf(const BaseNode& node, const char* property) {
        return getPropertyText(node.getPropertyByIndex(node.findProperty(CString(property))));
    }

    // A node of the class under the parent (the scene when none is given).
    template <typename Node>
    CRefPointer<Node> make(BaseNode* parent = nullptr) {
        return CRefPointer<Node>(
            new Node(CContentKey(), parent != nullptr ? parent : scene.get(), nullptr));
    }
    // A child that logs the states it is given.
    static CRefPointer<StateLogNode> logChild(BaseNode& parent, const char* childName = "") {
        CRefPointer<StateLogNode> child(new StateLogNode(CContentKey(), &parent, nullptr));
        child->setName(name(childName));
        return child;
    }

    // A drawing pass over the scene: idle effect nodes start.
    void draw() {
        RenderList list;
        scene->collectDrawables(list);
    }
    // The scene's clock moves on, times steps of that many milliseconds.
    void tick(uint32_t ms, int times = 1) {
        for (int i = 0; i < times; ++i)
            scene->getClock()->update(ms);
    }

    // A node read from scene-file text by the node factory, not yet in a tree.
    static CRefPointer<BaseNode> load(const std::u16string& xml) {
        const CRefPointer<CXmlTextReader> reader = readerOver(xml);
        if (!moveToElement(*reader, u"SceneNode"))
            return nullptr;
        const CNodeFactory& factory = *CEngineServices::instance()->getNodeFactory();
        CRefPointer<BaseNode> node = BaseNode::createFromXml(*reader, factory, CContentKey());
        if (node)
            node->loadFromXml(*reader, factory);
        return node;
    }

    // A child whose "SelfDestruct" lasts 300 ms.
    static void addSlowChild(BaseNode& parent) {
        parent.appendChild(
            load(u"<SceneNode Type=\"BaseNode\"><States><State Name=\"SelfDestruct\"><Animator "
                 u"Type=\"KeyFrame\"><Properties><vector3d Name=\"Scale\" Value=\"1;1;1\"/>"
                 u"</Properties><KeyFrame t=\"0\" Value0=\"1;1;1\"/><KeyFrame t=\"300\" "
                 u"Value0=\"0;0;1\"/></Animator></State></States></SceneNode>")
                .get());
    }

    static CRefPointer<GPath> makePath(std::initializer_list<PathPoint> points) {
        CRefPointer<GPath> path(new GPath());
        for (const PathPoint& point : points)
            path->points.append(point);
        return path;
    }
    static PathPoint point(float x, float y, float s = 1, float d1 = 0, float d2 = 0) {
        PathPoint p;
        p.x = x;
        p.y = y;
        p.s = s;
        p.d1 = d1;
        p.d2 = d2;
        return p;
    }

    static void set(BaseNode& node, const char* property, const CRefPointer<CPropertyData>& value) {
        const int32_t index = node.findProperty(CString(property));
        ASSERT_GE(index, 0) << property;
        node.setPropertyByIndex(index, value);
    }
    static std::string stateOf(const BaseNode* node) {
        const NodeState* state = node != nullptr ? node->getCurrentState() : nullptr;
        return state != nullptr ? state->getName().toString().c_str() : "";
    }

    CRefPointer<SceneManager> manager{new SceneManager(CContentKey(), nullptr, nullptr)};
    CRefPointer<TemplateCollectionNode> templates{
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr)};
    CRefPointer<SceneNode> scene{new SceneNode(CContentKey(), nullptr, nullptr)};
};

class EffectTest : public ::testing::Test, public EffectScene {};
