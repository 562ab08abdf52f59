#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Properties.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/scene/PropertyBindings.h"
#include "tests/scene/SceneTestNodes.h"

namespace {

std::vector<std::string> keysOf(const CProperties& properties) {
    std::vector<std::string> keys;
    for (int32_t i = 0; i < properties.getCount(); ++i)
        keys.push_back(properties.getNameAt(i).c_str());
    return keys;
}

void setByName(BaseNode& node, const char* name, CRefPointer<CPropertyData> value) {
    const int32_t index = node.findProperty(name);
    ASSERT_GE(index, 0) << name;
    node.setPropertyByIndex(index, value);
}

std::string textOf(const BaseNode& node, const char* name) {
    return node.getPropertyByIndex(node.findProperty(name))->toString().c_str();
}

TEST(NodeReflectionTest, PropertiesAreFoundByTheirExactText) {
    const CRefPointer<LoggingNode> node = makeNode("node");
    const std::vector<const char*> names = {
        "Name",       "Visible",   "Position",     "Rotation",        "Scale",   "Bounds",
        "PivotPoint", "TintColor", "DefaultState", "ChildrenClipped", "CanBeHit"};
    ASSERT_EQ(node->getPropertyTable().size(), names.size());
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(node->findProperty(names[i]), int32_t(i)) << names[i];
    EXPECT_EQ(node->findProperty("position"), -1);
    EXPECT_EQ(node->findProperty("Pos"), -1);
    EXPECT_EQ(node->getPropertyByIndex(-1), nullptr);
    node->setPropertyByIndex(99, makeBoolProperty(false)); // ignored
    EXPECT_TRUE(node->isVisible());
}

TEST(NodeReflectionTest, ValuesOfAnotherTypeBecomeZeroAndNamesTakeAnyText) {
    const CRefPointer<LoggingNode> node = makeNode("node");
    setByName(*node, "Scale", makeIntProperty(3));
    EXPECT_EQ(node->getScale(), CVector3d(0, 0, 0));
    EXPECT_TRUE(node->isTransformDirty());
    setByName(*node, "Visible", makeStringProperty("true"));
    EXPECT_FALSE(node->isVisible());
    setByName(*node, "TintColor", nullptr);
    EXPECT_EQ(node->getTintColor().value, 0u);

    setByName(*node, "Name", makeIntProperty(42));
    EXPECT_EQ(node->getName(), nameId("42"));
    setByName(*node, "DefaultState", makeVector2dProperty({1, 2}));
    EXPECT_EQ(textOf(*node, "DefaultState"), "1.000000;2.000000");
    setByName(*node, "Name", nullptr);
    EXPECT_EQ(node->getName(), CNameId());

    setByName(*node, "Name", makeStringProperty("Hero"));
    const CRefPointer<CPropertyData> name = node->getPropertyByIndex(node->findProperty("Name"));
    EXPECT_EQ(name->getTypeId(), CPropertyDataString::kTypeId);
    EXPECT_EQ(std::string(name->toString().c_str()), "Hero");
}

TEST(NodeReflectionTest, SavingWritesOnlyWhatDiffersFromTheDefaults) {
    const CRefPointer<LoggingNode> fresh(new LoggingNode(CContentKey(), nullptr, nullptr));
    CRefPointer<CProperties> saved(new CProperties());
    fresh->saveProperties(*saved);
    EXPECT_EQ(saved->getCount(), 0);

    fresh->setPosition({0.0000005f, 0, 0});
    fresh->setScale({1.0000005f, 1, 1});
    fresh->saveProperties(*saved);
    EXPECT_EQ(saved->getCount(), 0);

    const CRefPointer<LoggingNode> node = makeNode("Hero");
    node->setPosition({1, 2, 3});
    node->setRotation({0, 0, 45});
    node->setScale({2, 2, 1});
    node->setBounds({10, 20, 0});
    node->setPivotPoint({0.5f, 0});
    node->setTintColor(CColor(0x80FFFFFFu));
    node->setVisible(false);
    node->setDefaultState(nameId("Idle"));
    node->setChildrenClipped(true);
    node->setCanBeHit(false);
    node->saveProperties(*saved);
    EXPECT_EQ(keysOf(*saved),
              (std::vector<std::string>{"Name", "Position", "Rotation", "Scale", "Bounds",
                                        "PivotPoint", "TintColor", "Visible", "DefaultState",
                                        "ChildrenClipped", "CanBeHit"}));

    // Loaded into a fresh node, the set gives back the same values.
    const CRefPointer<LoggingNode> copy(new LoggingNode(CContentKey(), nullptr, nullptr));
    copy->loadProperties(*saved);
    CRefPointer<CProperties> again(new CProperties());
    copy->saveProperties(*again);
    ASSERT_EQ(again->getCount(), saved->getCount());
    for (int32_t i = 0; i < saved->getCount(); ++i)
        EXPECT_TRUE(again->getValueAt(i)->equals(saved->getValueAt(i).get()))
            << saved->getNameAt(i).c_str();
    EXPECT_EQ(copy->getDefaultState(), nameId("Idle"));
    EXPECT_EQ(copy->getCurrentState(), nullptr); // stored, not entered
}

TEST(NodeReflectionTest, LoadingLeavesAbsentKeysAlone) {
    const CRefPointer<LoggingNode> node = makeNode("Keep");
    node->setBounds({1, 2, 3});
    CRefPointer<CProperties> properties(new CProperties());
    properties->addInt("Scale", 5);
    properties->addBool("Visible", false);
    node->loadProperties(*properties);
    EXPECT_EQ(node->getName(), nameId("Keep"));
    EXPECT_EQ(node->getBounds(), CVector3d(1, 2, 3));
    EXPECT_EQ(node->getScale(), CVector3d(0, 0, 0));
    EXPECT_FALSE(node->isVisible());
}

// Answers 73 with a hook of its own and adds a property.
class MappedNode : public NodeClass<MappedNode, LoggingNode> {
public:
    static constexpr uint32_t kTypeId = 901;
    static constexpr const char16_t* kTypeName = u"MappedNode";

    using NodeClass::NodeClass;

    static const PropertyTable& classPropertyTable() {
        static const PropertyTable table = extendPropertyTable(
            BaseNode::classPropertyTable(), {fieldProperty<&MappedNode::level>("Level")});
        return table;
    }
    static const EventMap& getEventMap() {
        static const EventMapEntry own[] = {eventHook<&MappedNode::onFinished>()};
        static const EventMap map = buildEventMap(BaseNode::getEventMap(), own);
        return map;
    }

    bool onFinished(CEventNodeStateFinished&) {
        ++finishedSeen;
        return true;
    }

    int32_t level = 0;
    int finishedSeen = 0;
};

TEST(NodeReflectionTest, ADerivedClassExtendsTheTableAndItsMapOverridesItsParents) {
    const CRefPointer<MappedNode> node = makeNode<MappedNode>("mapped");
    EXPECT_EQ(node->findProperty("Level"), 11);
    EXPECT_EQ(node->findProperty("CanBeHit"), 10);
    node->setPropertyByIndex(11, makeIntProperty(7));
    EXPECT_EQ(node->level, 7);
    EXPECT_TRUE(node->isKindOf(901));
    EXPECT_TRUE(node->isKindOf(0));
    EXPECT_FALSE(node->isKindOf(5));

    const CRefPointer<CEvent> finished(new CEventNodeStateFinished(nullptr, CNameId(), false));
    EXPECT_TRUE(node->OnEvent(*finished));
    EXPECT_EQ(node->finishedSeen, 1);
    // Inherited entries still reach the base hooks, which leave these events unhandled.
    const CRefPointer<CEvent> childFinished(new CEventNodeChildStateFinished(nullptr, CNameId()));
    EXPECT_FALSE(node->OnEvent(*childFinished));
    const CRefPointer<CEvent> unknown(new CEventNode());
    EXPECT_FALSE(node->OnEvent(*unknown));
}

} // namespace
