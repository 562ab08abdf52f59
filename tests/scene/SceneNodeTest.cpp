#include "engine/scene/SceneNode.h"

#include <gtest/gtest.h>

#include "engine/scene/SceneManager.h"
#include "tests/scene/SceneFileFixtures.h"
#include "tests/scene/SceneTestNodes.h"

namespace {

// A scene that files and the game can go back to by its type.
class MapScene : public NodeClass<MapScene, SceneNode> {
public:
    static constexpr uint32_t kTypeId = 4102;
    static constexpr const char16_t* kTypeName = u"MapScene";
    using NodeClass::NodeClass;
};

// A scene loaded through the content manager and opened in a scene manager; scene files are
// served from memory.
class SceneNodeTest : public ::testing::Test {
protected:
    SceneNodeTest() {
        manager->openScene(home.get(), CNameId());
        manager->OnUpdate(0);
    }

    SceneFiles scenes;
    CRefPointer<SceneManager> manager{new SceneManager(CContentKey(), nullptr, nullptr)};
    CRefPointer<SceneNode> home{
        new SceneNode(CContentKey(scenes.manager.get(), CStringW(u"home.qscn")), nullptr, nullptr)};
};

TEST_F(SceneNodeTest, OnlyFilesWhoseRootIsASceneOpen) {
    scenes.files->add(u"control.qscn", "<SceneNode Type=\"ControlNode\"/>");
    scenes.files->add(u"sprite.qscn", "<SceneNode Type=\"SpriteNode\"/>");
    scenes.files->add(u"broken.qscn", "<SceneNode Type=\"Missing\"/>");
    for (const char16_t* name : {u"", u"control.qscn", u"sprite.qscn", u"broken.qscn", u"none"})
        EXPECT_EQ(home->openSceneFile(name, false, CNameId(), CNameId()), nullptr);
    EXPECT_EQ(manager->getCurrentScene(), home.get());
    EXPECT_EQ(manager->getChildCount(), 1u);

    const CRefPointer<SceneNode> codeMade(new SceneNode(CContentKey(), nullptr, nullptr));
    manager->openScene(codeMade.get(), CNameId());
    scenes.files->add(u"menu.qscn", "<SceneNode Type=\"SceneNode\"/>");
    EXPECT_EQ(codeMade->openSceneFile(u"menu.qscn", false, CNameId(), CNameId()), nullptr);
}

TEST_F(SceneNodeTest, AnOpenedFileIsHeldByTheManagerAlone) {
    scenes.files->add(u"menu.qscn", "<SceneNode Type=\"SceneNode\"><Properties><string "
                                    "Name=\"Name\" Value=\"Menu\"/></Properties></SceneNode>");
    SceneNode* menu = home->openSceneFile(u"menu.qscn", false, CNameId(), CNameId());
    ASSERT_NE(menu, nullptr);
    manager->OnUpdate(0);
    EXPECT_EQ(menu->getName(), nameId("Menu"));
    EXPECT_EQ(manager->getCurrentScene(), menu);
    EXPECT_EQ(menu->getPreviousScene(), home.get());
    EXPECT_EQ(menu->getParent(), manager.get());
    // The manager's children list and its current scene.
    EXPECT_EQ(menu->getRefCount(), 2);
}

TEST_F(SceneNodeTest, GoingBackToATypeTakesTheNearestSceneOfIt) {
    const CRefPointer<MapScene> far(new MapScene(CContentKey(), nullptr, nullptr));
    const CRefPointer<MapScene> near(new MapScene(CContentKey(), nullptr, nullptr));
    const CRefPointer<SceneNode> top(new SceneNode(CContentKey(), nullptr, nullptr));
    ASSERT_TRUE(home->openScene(far.get(), false, CNameId(), CNameId()));
    ASSERT_TRUE(far->openScene(near.get(), false, CNameId(), CNameId()));
    ASSERT_TRUE(near->openScene(top.get(), false, CNameId(), CNameId()));
    manager->OnUpdate(0);
    const int32_t references = near->getRefCount();
    top->setPreviousScene(near.get()); // the same scene again takes no second reference
    EXPECT_EQ(near->getRefCount(), references);

    EXPECT_FALSE(top->navigateBackToType(4103, CNameId(), CNameId()));
    EXPECT_EQ(manager->getCurrentScene(), top.get());
    ASSERT_TRUE(top->navigateBackToType(MapScene::kTypeId, CNameId(), CNameId()));
    EXPECT_EQ(manager->getCurrentScene(), near.get());
    manager->OnUpdate(0);
    EXPECT_EQ(top->getParent(), nullptr);
    EXPECT_EQ(far->getParent(), manager.get());
}

} // namespace
