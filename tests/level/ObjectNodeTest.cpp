#include "game/level/ObjectNode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scene/NodeState.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/UpgradeLevel.h"
#include "game/level/GameLevelScene.h"
#include "tests/level/LevelFixtures.h"

namespace {

// The smallest object there is: the base with its colour calls noted.
class TestObject : public NodeClass<TestObject, GObjectNode> {
public:
    static constexpr uint32_t kTypeId = 907;
    static constexpr const char16_t* kTypeName = u"TestObject";

    using GObjectNode::setPendingTemplate;
    using NodeClass::NodeClass;

    void setColor(int32_t color) override {
        colors.push_back(color);
        GObjectNode::setColor(color);
    }

    std::vector<int32_t> colors;
};

std::string node(const char* type, const char* name, const std::string& inside = "") {
    return std::string("<SceneNode Type=\"") + type + "\">" + nameProperty(name) + inside +
           "</SceneNode>";
}

const std::string kShopStates = emptyStates({"ShopAppear", "ShopDisappear"});

// An object of the template "Machine" opened in a scene whose manager has the templates. The
// object has a "Selector" and a "Pointers" of its own and a price that is a sprite; the template
// has all five, its price a text node, and an arrow.
class ObjectNodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        scenes.factory->registerNodeType(TestObject::kTypeName, &createNodeOf<TestObject>);
        scenes.files->add(
            u"templates.qscn",
            "<SceneNode Type=\"TemplateCollectionNode\">" +
                node("BaseNode", "Machine",
                     node("BaseNode", "Selector") +
                         node("BaseNode", "Glow", node("StateRecorder", "Sparkle", kShopStates)) +
                         node("TextNode", "Shop_UpPrice") + node("BaseNode", "UpLevelIcons") +
                         node("BaseNode", "Pointers") + node("BaseNode", "UpLevelArrow")) +
                node("BaseNode", "SpritePrice", node("SpriteNode", "Shop_UpPrice")) +
                node("BaseNode", "Other") + "</SceneNode>");
        scenes.files->add(
            u"object.qscn",
            "<SceneNode Type=\"TestObject\"><Properties><string Name=\"Name\" Value=\"Machine1\"/>"
            "<string Name=\"TemplateName\" Value=\"Machine\"/></Properties>" +
                emptyStates({"Show", "Hide", "ShopAppear", "ShopDisappear"}) +
                node("BaseNode", "Selector") + node("SpriteNode", "Shop_UpPrice") +
                node("BaseNode", "Pointers") + "</SceneNode>");
        const CRefPointer<BaseNode> templates = scenes.load(u"templates.qscn");
        ASSERT_TRUE(templates);
        manager->setTemplateCollection(static_cast<TemplateCollectionNode*>(templates.get()));
        manager->openScene(scene.get(), CNameId());
        object = CRefPointer<TestObject>::share(
            static_cast<TestObject*>(scenes.load(u"object.qscn").get()));
        ASSERT_TRUE(object);
        scene->appendChild(object.get());
        object->applyTemplate();
        startedStates().clear();
    }

    BaseNode* own(const char* name) const { return object->findChild(nameId(name), 1); }
    BaseNode* fromTemplate(const char* name) const {
        return object->getTemplateRoot()->findChild(nameId(name), 1);
    }
    CNameId currentState() const {
        return object->getCurrentState() != nullptr ? object->getCurrentState()->getName()
                                                    : CNameId();
    }

    SceneFiles scenes = levelSceneFiles();
    CRefPointer<SceneManager> manager{new SceneManager(CContentKey(), nullptr, nullptr)};
    CRefPointer<SceneNode> scene{new SceneNode(CContentKey(), nullptr, nullptr)};
    CRefPointer<TestObject> object;
};

TEST_F(ObjectNodeTest, TheObjectsOwnChildrenWinOverTheTemplatesAndThePriceIsText) {
    EXPECT_EQ(object->getSelector(), own("Selector"));
    EXPECT_EQ(object->getPointers(), own("Pointers"));
    EXPECT_EQ(object->getUpLevelIcons(), fromTemplate("UpLevelIcons"));
    ASSERT_EQ(object->getGlow(), fromTemplate("Glow"));
    EXPECT_FALSE(object->getGlow()->isVisible());
    EXPECT_EQ(object->getPriceText(), fromTemplate("Shop_UpPrice"))
        << "the object's own price is a sprite";

    object->setTemplateName(nameId("SpritePrice"));
    EXPECT_EQ(object->getPriceText(), nullptr) << "a sprite in the template is no price either";
    EXPECT_EQ(object->getGlow(), nullptr);
    EXPECT_EQ(object->getSelector(), own("Selector"));
}

TEST_F(ObjectNodeTest, TheShopDisplayShowsWhatTheNextUpgradeBuilds) {
    GUpgradeItem typeless;
    GUpgradeItem pad;
    pad.type = nameId("Pad");
    struct Case {
        const char* what;
        const GUpgradeItem* next;
        bool visible;
        bool glowVisible;
    };
    const Case cases[] = {
        {"nothing to offer", nullptr, false, false},
        {"an upgrade without a type", &typeless, false, true},
        {"an upgrade that builds", &pad, true, true},
    };
    for (const Case& c : cases) {
        object->setVisible(false);
        object->getGlow()->setVisible(true);
        object->setHovered(true);
        object->setShopMode(true, 2, nullptr, c.next);
        EXPECT_TRUE(object->isShopMode());
        EXPECT_EQ(object->isVisible(), c.visible) << c.what;
        EXPECT_EQ(object->getGlow()->isVisible(), c.glowVisible) << c.what;
        EXPECT_FALSE(object->isHovered()) << c.what;
        EXPECT_FALSE(object->isEnabled()) << c.what;
        EXPECT_FALSE(object->canBeHit()) << c.what;
        EXPECT_FALSE(object->getSelector()->isVisible()) << c.what;
        EXPECT_TRUE(object->getUpLevelIcons()->isVisible()) << c.what;
        EXPECT_FALSE(fromTemplate("UpLevelArrow")->isVisible()) << c.what;
        EXPECT_EQ(object->colors.back(), 0) << c.what;
    }
    EXPECT_EQ(startedStates(), (std::vector<std::string>{"Sparkle ShopDisappear"}));
}

TEST_F(ObjectNodeTest, LeavingTheShopRestoresThePlayDisplayAndDropsTheShopsChildren) {
    object->setShopMode(true, 0, nullptr, nullptr);
    for (const char* name : {"UpButton", "Shop_UpRequired", "Shop_UpRecommended", "Keep"})
        makeNode(name, object.get());
    object->setTintColor(CColor(0xFF00FF00u));
    object->getGlow()->setVisible(true);
    startedStates().clear();

    object->setShopMode(false, 0, nullptr, nullptr);
    EXPECT_FALSE(object->isShopMode());
    EXPECT_EQ(object->getTintColor(), CColor(0xFFFFFFFFu));
    EXPECT_TRUE(object->isColorDirty());
    EXPECT_TRUE(object->isEnabled());
    EXPECT_TRUE(object->canBeHit());
    EXPECT_TRUE(object->getSelector()->isVisible());
    EXPECT_FALSE(object->getUpLevelIcons()->isVisible());
    EXPECT_FALSE(object->getGlow()->isVisible());
    EXPECT_EQ(startedStates(), (std::vector<std::string>{"Sparkle ShopDisappear"}));
    std::vector<std::string> children;
    for (uint32_t i = 0; i < object->getChildCount(); ++i)
        children.push_back(object->getChild(i)->getName().toString().c_str());
    EXPECT_EQ(children, (std::vector<std::string>{"Selector", "Pointers", "Keep"}));
}

TEST_F(ObjectNodeTest, ShowAndHideChangeTheTemplateAndEndInShopAppear) {
    object->hide(nameId("Other"));
    EXPECT_FALSE(object->isShown());
    EXPECT_EQ(object->getTemplateName(), nameId("Other"));
    EXPECT_EQ(currentState(), nameId("ShopAppear"));

    object->show(nameId("Machine"));
    EXPECT_TRUE(object->isShown());
    EXPECT_EQ(currentState(), nameId("ShopAppear"));
    ASSERT_NE(object->getGlow(), nullptr);
    EXPECT_TRUE(object->getGlow()->isVisible());
    EXPECT_EQ(startedStates(), (std::vector<std::string>{"Sparkle ShopAppear"}));

    // Without a "ShopAppear" state the object stays in the state it was asked for.
    const CRefPointer<TestObject> plain(new TestObject(CContentKey(), scene.get(), nullptr));
    plain->addState(CRefPointer<NodeState>(new NodeState(nameId("Hide"))).get());
    plain->hide(CNameId());
    ASSERT_NE(plain->getCurrentState(), nullptr);
    EXPECT_EQ(plain->getCurrentState()->getName(), nameId("Hide"));
}

TEST_F(ObjectNodeTest, TheEndOfShopDisappearAppliesThePendingTemplate) {
    object->show(nameId("Other"));
    object->setPendingTemplate(nameId("Machine"));
    object->setState(nameId("Show"), nullptr, CNameId());
    EXPECT_EQ(object->getTemplateName(), nameId("Other")) << "another state changes nothing";

    object->setState(nameId("ShopDisappear"), nullptr, CNameId());
    EXPECT_EQ(object->getTemplateName(), nameId("Machine"));
    ASSERT_NE(object->getGlow(), nullptr);
    EXPECT_TRUE(object->getGlow()->isVisible()) << "the object was shown";

    object->hide(nameId("Other"));
    object->setPendingTemplate(nameId("Machine"));
    startedStates().clear();
    object->setState(nameId("ShopDisappear"), nullptr, CNameId());
    EXPECT_EQ(object->getTemplateName(), nameId("Machine"));
    EXPECT_FALSE(object->getGlow()->isVisible()) << "the object was hidden";
    EXPECT_EQ(startedStates(), (std::vector<std::string>{"Sparkle ShopDisappear"}));
}

TEST_F(ObjectNodeTest, ANullLevelKeepsTheLevelAndItsConfiguration) {
    const CRefPointer<GGameLevelScene> level(new GGameLevelScene(CContentKey(), nullptr, nullptr));
    const CRefPointer<ObjectConfigurations> configs(new ObjectConfigurations);
    level->setObjectConfigurations(configs.get());
    object->setLevel(level.get());
    object->setLevel(nullptr);
    EXPECT_EQ(object->getLevel(), level.get());
    EXPECT_EQ(object->getConfigs(), configs.get());
    EXPECT_EQ(configs->getRefCount(), 3) << "the test's, the level's and the object's";
}

} // namespace
