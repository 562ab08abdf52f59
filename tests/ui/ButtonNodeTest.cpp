#include "engine/ui/ButtonNode.h"

#include <gtest/gtest.h>

#include "engine/core/PropertyDataScalars.h"
#include "engine/ui/BackButtonNode.h"
#include "tests/scene/SpriteFixtures.h"
#include "tests/ui/ControlSceneFixture.h"

namespace {

// "Buttons.qscn": "Ok" at (0, 0) whose "Press" takes 100 ms, and "Bare", whose template has
// no text node, at (0, 100).
class ButtonNodeTest : public ControlSceneTest {
protected:
    ButtonNodeTest() { open(u"Buttons.qscn"); }

    ButtonNode& ok() { return find<ButtonNode>("Ok"); }
};

TEST_F(ButtonNodeTest, AClickStartsOnReleaseAndEndsWhenItsPressStateHasPlayed) {
    const CRefPointer<EventRecorder> own = record(ok(), {62, 63, 64});
    down(50, 15);
    drain();
    EXPECT_TRUE(ok().isPressed());
    EXPECT_TRUE(events->take().empty());
    up(50, 15);
    drain();
    EXPECT_EQ(events->take(), std::vector<std::string>{"Ok:62"});
    tick(50);
    EXPECT_TRUE(events->take().empty());
    tick(100);
    EXPECT_EQ(events->take(), std::vector<std::string>{"Ok:64"});
    EXPECT_EQ(own->take(), (std::vector<std::string>{"Ok:62", "Ok:63", "Ok:64"}));

    click(50, 45);
    EXPECT_TRUE(events->take().empty()) << "a release outside clicks nothing";
}

TEST_F(ButtonNodeTest, CaptionAndImageLiveInTheButtonAndGoIntoEveryTemplate) {
    ASSERT_NE(ok().getTextChild(), nullptr);
    EXPECT_EQ(ok().getTextChild(), &templateChild<TextNode>(ok(), "Text"));
    EXPECT_EQ(ok().getTextChild()->getText(), CStringW(u"%OkBtn%"));
    const CRefPointer<CAtlasTexture> image = makeWholeImage(4, 4);
    ok().setText(u"Play");
    ok().setImage(image.get());
    EXPECT_EQ(ok().getTextChild()->getText(), CStringW(u"Play"));
    EXPECT_EQ(ok().getImageChild()->getImage(), image.get());

    ok().setTemplateName(nameId("Button"));
    EXPECT_EQ(templateChild<TextNode>(ok(), "Text").getText(), CStringW(u"Play"));
    EXPECT_EQ(templateChild<SpriteNode>(ok(), "Image").getImage(), image.get());

    ButtonNode& bare = find<ButtonNode>("Bare");
    EXPECT_EQ(bare.getTextChild(), nullptr) << "its \"Text\" is no text node";
    bare.setText(u"Later");
    EXPECT_EQ(bare.getText(), CStringW(u"Later"));
    bare.setTemplateName(nameId("Button"));
    EXPECT_EQ(templateChild<TextNode>(bare, "Text").getText(), CStringW(u"Later"));
}

TEST_F(ButtonNodeTest, TheSameImageAgainKeepsOneReferenceAndRefreshesTheSprite) {
    const CRefPointer<CAtlasTexture> image = makeWholeImage(4, 4);
    ok().setImage(image.get());
    const int32_t references = image->getRefCount();
    SpriteNode& sprite = templateChild<SpriteNode>(ok(), "Image");
    sprite.setImage(nullptr);
    ok().setImage(image.get());
    EXPECT_EQ(sprite.getImage(), image.get());
    EXPECT_EQ(image->getRefCount(), references);

    ok().setPropertyByIndex(ok().findProperty("Image"), makeIntProperty(3));
    EXPECT_EQ(ok().getImage(), nullptr) << "a value of another kind clears the image";
    EXPECT_EQ(sprite.getImage(), nullptr);
}

TEST_F(ButtonNodeTest, TheBackButtonSendsTheTopSceneBackAndLetsTheClickGoOn) {
    SceneNode* over = scene->openSceneFile(u"Back.qscn", false, CNameId(), CNameId());
    ASSERT_NE(over, nullptr);
    over->updateAbsoluteTransform();
    drain();
    const CRefPointer<EventRecorder> overEvents = record(*over, {64});
    ASSERT_EQ(manager->getCurrentScene(), over);
    click(350, 315);
    tick(100);
    over->getClock()->update(100);
    drain();
    EXPECT_EQ(manager->getCurrentScene(), scene.get());
    EXPECT_EQ(overEvents->take(), std::vector<std::string>{"Back:64"});
}

} // namespace
