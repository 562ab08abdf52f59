#include <string>

#include "engine/core/EngineServices.h"
#include "engine/core/Utf.h"
#include "engine/io/Dictionary.h"
#include "engine/scene/TextNode.h"
#include "game/app/ClientConfig.h"
#include "game/app/GameApplication.h"
#include "game/level/ClientNode.h"
#include "game/screens/GameNewClientScene.h"
#include "tests/game/screens/ScreenFixture.h"

// The new-client pop-up opened over a plain scene with the game's dictionary and setting 1's
// templates in the level's scene manager, as the loading screen leaves them.
namespace {

class GameNewClientSceneTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        CEngineServices::instance()->getDictionary()->readXml(
            game.engine().getFileSystem()->openXmlReader(u"strings/Dictionary.xml").get());
        const CRefPointer<CContent> templates =
            content().load(contentType("snod"), u"levels/setting1/TemplateCollection.qscn", true);
        auto* collection = static_cast<BaseNode*>(templates.get());
        ASSERT_TRUE(collection && collection->isKindOf(TemplateCollectionNode::kTypeId));
        game.application().getLevelSceneManager()->setTemplateCollection(
            static_cast<TemplateCollectionNode*>(collection));
        opener = plainScene();
        manager().openScene(opener.get(), CNameId());
        settle();
    }

    // Opened and given the client; taken off its clock so that the test times it.
    GGameNewClientScene* openFor(const char* client, const char* templateName, int32_t patience) {
        CRefPointer<GClientConfig> config(new GClientConfig());
        config->name = name(client);
        config->templateName = name(templateName);
        config->patienceLevel = patience;
        SceneNode* opened = open(u"scenes/GameNewClientScene.qscn");
        EXPECT_TRUE(opened != nullptr && opened->isKindOf(GGameNewClientScene::kTypeId));
        auto* popUp = static_cast<GGameNewClientScene*>(opened);
        popUp->setScheduler(nullptr);
        popUp->setClient(config.get());
        return popUp;
    }

    std::string shown(const char* path) const {
        const auto* text = findAs<TextNode>(path);
        return text != nullptr ? utf16ToUtf8(text->getShownText().c_str()).c_str() : "";
    }
    // Whether one of the figure's parts plays that state.
    static bool plays(const BaseNode& preview, const char* state) {
        for (uint32_t i = 0; i < preview.getChildCount(); ++i) {
            if (stateOf(preview.getChild(i)) == state)
                return true;
        }
        return false;
    }

    CRefPointer<SceneNode> opener;
};

TEST_F(GameNewClientSceneTest, ShowsTheClientsTextsAndPatience) {
    struct Case {
        int32_t patience;
        const char* text;
        const char* state;
    };
    const Case cases[] = {
        {-2, "Patience: low", "Impatient"},
        {0, "Patience: moderate", "Moderate"},
        {3, "Patience: high", "Patient"},
    };
    for (const Case& c : cases) {
        openFor("Dancer", "Dancer", c.patience);
        EXPECT_EQ(shown("Scene/NameText"), "Dancer");
        EXPECT_EQ(shown("Scene/DescText").substr(0, 14), "She loves to d");
        EXPECT_EQ(shown("Scene/FeaturesText").substr(0, 15), "Wants a dance p");
        EXPECT_EQ(shown("Scene/PatientText"), c.text) << c.patience;
        EXPECT_EQ(stateOf(find("Scene/PatientText")), c.state) << c.patience;
        click("Scene/BackButton");
        EXPECT_EQ(current(), opener.get()) << "back goes back";
    }
}

TEST_F(GameNewClientSceneTest, TheFigureStandsAtTheBottomMiddleAndDoesItsStandEveryFiveSeconds) {
    GGameNewClientScene* popUp = openFor("Dancer", "Dancer", 0);
    BaseNode* preview = popUp->getPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isKindOf(GClientNode::kTypeId));
    EXPECT_EQ(preview->getParent(), find("Scene/ClientNode"));
    const CVector3d& place = find("Scene/ClientNode")->getBounds();
    EXPECT_EQ(preview->getPosition().x, place.x / 2);
    EXPECT_EQ(preview->getPosition().y, place.y);
    EXPECT_TRUE(plays(*preview, "Stand"));

    popUp->OnUpdate(30);
    EXPECT_TRUE(plays(*preview, "Stand1")) << "on the first tick";
    preview->setChildrenState(name("Stand"), nullptr);
    popUp->OnUpdate(4970);
    EXPECT_TRUE(plays(*preview, "Stand"));
    popUp->OnUpdate(30);
    EXPECT_TRUE(plays(*preview, "Stand1")) << "5 s later";
}

TEST_F(GameNewClientSceneTest, WithoutAClientTemplateTheTextsShowAlone) {
    for (const char* templateName : {"Nobody", "Hero1"}) {
        GGameNewClientScene* popUp = openFor("Dancer", templateName, 0);
        EXPECT_EQ(popUp->getPreview(), nullptr) << templateName;
        EXPECT_EQ(find("Scene/ClientNode")->getChildCount(), 0u) << templateName;
        EXPECT_EQ(shown("Scene/NameText"), "Dancer");
        popUp->OnUpdate(5000);
        click("Scene/BackButton");
    }
}

} // namespace
