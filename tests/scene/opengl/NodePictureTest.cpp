#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/EngineServices.h"
#include "engine/core/Utf.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/scene/NineGridSpriteNode.h"
#include "engine/scene/SpriteNode.h"
#include "engine/scene/TextNode.h"
#include "engine/video/ImageLoaderManager.h"
#include "engine/video/VideoContentProcessors.h"
#include "support/GoldenImage.h"
#include "video/opengl/GLDriverFixture.h"

// Sprites, nine-grid frames and text drawn by the OpenGL driver the way the scene manager
// draws a tree, compared with their golden pictures.
namespace {

class NodePictureTest : public GLDriverTest {
protected:
    void TearDown() override {
        manager.reset();
        processors.reset();
        CEngineServices::destroyInstance();
        engineServiceFactories() = EngineServiceFactories();
        GLDriverTest::TearDown();
    }

    // An atlas texture over the pixel rectangle of a texture made from the image.
    CRefPointer<CAtlasTexture> atlasTexture(const CRefPointer<CSoftwareImage>& image, CRect pixels,
                                            CVector2d before = {}, CVector2d after = {}) {
        CImageTexture* page = imageTexture(image);
        const CPixelSize size = page->getTexture()->getSize();
        const float w = float(size.width);
        const float h = float(size.height);
        return CRefPointer<CAtlasTexture>(new CAtlasTexture(
            CContentKey(nullptr, u"image.png"), CRefPointer<CImageTexture>::share(page),
            CRect(pixels.left / w, pixels.top / h, pixels.right / w, pixels.bottom / h), before,
            after));
    }

    // A content manager loading through the driver from the video fixtures.
    void openContent() {
        engineServiceFactories().imageLoaderManager = [] {
            return CServiceReference<CImageLoaderManager>::adopt(new CImageLoaderManager());
        };
        CEngineServices::destroyInstance();
        const std::filesystem::path fixtures =
            std::filesystem::path(VANTOR_SOURCE_DIR) / "tests" / "video" / "fixtures" / "";
        ASSERT_TRUE(files->addArchive(utf8ToUtf16(fixtures.string().c_str()), nullptr));
        ContentProcessorFactories factories;
        registerVideoContentProcessors(factories);
        driver->addRef();
        const CServiceReference<IRenderDriver> reference =
            CServiceReference<IRenderDriver>::adopt(driver.get());
        processors = CRefPointer<CContentProcessorsManager>(
            new CContentProcessorsManager({reference, {}, files, {}}, factories));
        manager = CRefPointer<CContentManager>(new CContentManager(reference, files, processors));
    }

    // The tree's drawables in depth order through the 2D batch, as a frame draws them.
    void drawTree(BaseNode& root) {
        CQuadBatcher& batch = *driver->getQuadBatcher();
        RenderList list;
        root.collectDrawables(list);
        sortRenderList(list);
        for (const Drawable& entry : list)
            entry.node->render(driver.get(), nullptr);
        batch.end();
    }

    CRefPointer<IVirtualFileSystem> files{new CVirtualFileSystem};
    CRefPointer<CContentProcessorsManager> processors;
    CRefPointer<CContentManager> manager;
};

template <typename Node>
CRefPointer<Node> makeChild(BaseNode& parent, CVector3d position) {
    CRefPointer<Node> node(new Node(CContentKey(), &parent, nullptr));
    node->setPosition(position);
    return node;
}

// Sixteen by sixteen: quarters of four colours with a transparent corner notch, so that
// mirroring and cropping show.
uint32_t quarterTexel(int32_t x, int32_t y) {
    if (x < 4 && y < 4)
        return 0x00000000u;
    const uint32_t colours[4] = {0xFFE04040u, 0xFF40C040u, 0xFF4060E0u, 0xFFE0E040u};
    return colours[(x >= 8 ? 1 : 0) + (y >= 8 ? 2 : 0)];
}

// Twelve by twelve: a frame four pixels wide around a lighter centre.
uint32_t frameTexel(int32_t x, int32_t y) {
    const bool border = x < 4 || y < 4 || x >= 8 || y >= 8;
    return border ? 0xFF8040C0u : 0xC0F0E0A0u;
}

TEST_F(NodePictureTest, Sprites) {
    open(glParameters(128, 96));
    const CRefPointer<CAtlasTexture> quarters =
        atlasTexture(makeTestImage(16, 16, quarterTexel), CRect(0, 0, 16, 16));
    const CRefPointer<CAtlasTexture> frame =
        atlasTexture(makeTestImage(12, 12, frameTexel), CRect(0, 0, 12, 12));
    const CRefPointer<BaseNode> root(new BaseNode(CContentKey(), nullptr, nullptr));
    makeChild<SpriteNode>(*root, {4, 4, 0})->setImage(quarters.get());
    const CRefPointer<SpriteNode> mirrored = makeChild<SpriteNode>(*root, {36, 16, 0});
    mirrored->setImage(quarters.get());
    mirrored->setImagePivotPoint({8, 8});
    mirrored->setFlipX(true);
    mirrored->setScale({1.5f, 1.5f, 1});
    const CRefPointer<SpriteNode> tiled = makeChild<SpriteNode>(*root, {52, 4, 0});
    tiled->setImage(quarters.get());
    tiled->setWrapType(0);
    tiled->setBounds({40, 16, 0});
    tiled->setImageStretchX(SpriteNode::STRETCH_TO_BOUNDS);
    const CRefPointer<SpriteNode> added = makeChild<SpriteNode>(*root, {100, 4, 0});
    added->setImage(quarters.get());
    added->setBlendType(1);
    added->setTintColor(CColor(0xFF808080u));
    const CRefPointer<SpriteNode> cropped = makeChild<SpriteNode>(*root, {100, 28, 0});
    cropped->setImage(quarters.get());
    cropped->setImagePivotPoint({6, 0});
    cropped->setBounds({8, 12, 0});
    cropped->setImageStretchX(SpriteNode::STRETCH_CROP);
    cropped->setImageStretchY(SpriteNode::STRETCH_CROP);
    const CRefPointer<NineGridSpriteNode> panel = makeChild<NineGridSpriteNode>(*root, {4, 44, 0});
    panel->setImage(frame.get());
    panel->setBounds({60, 40, 0});
    panel->setTopLeftDelta({4, 4});
    panel->setBottomRightDelta({4, 4});
    panel->setTintColor(CColor(0xFFFFFFFFu));
    const CRefPointer<SpriteNode> clipped = makeChild<SpriteNode>(*root, {76, 52, 0});
    clipped->setImage(quarters.get());
    clipped->setScale({2, 2, 1});

    begin2D(CColor(0xFF203040));
    clipped->setVisible(false);
    drawTree(*root);
    // Clipped to its lower right quarter and a little more.
    const CRect clip(82, 58, 120, 90);
    clipped->setVisible(true);
    RenderList list;
    clipped->collectDrawables(list);
    clipped->render(driver.get(), &clip);

    EXPECT_TRUE(matchesGolden(*driver->captureScreen(), "scene-sprites"));
}

TEST_F(NodePictureTest, Text) {
    open(glParameters(160, 72));
    openContent();
    const CRefPointer<CFontBase> font = CRefPointer<CFontBase>::share(static_cast<CFontBase*>(
        manager->load(contentType("font"), u"fonts/Sans16.qfnt", false).get()));
    ASSERT_TRUE(font);
    const CRefPointer<BaseNode> root(new BaseNode(CContentKey(), nullptr, nullptr));
    const CRefPointer<TextNode> text = makeChild<TextNode>(*root, {4, 2, 0});
    text->setBounds({152, 68, 0});
    text->setFont(font.get());
    text->setWordWrap(true);
    text->setTextHAlign(TextNode::HALIGN_CENTRE);
    text->setTextVAlign(TextNode::VALIGN_CENTRE);
    text->setText(u"Velmora dance club: step in, keep fit!");
    text->setTintColor(CColor(0xFFFFE080u));

    begin2D(CColor(0xFF302028));
    drawTree(*root);

    EXPECT_TRUE(matchesGolden(*driver->captureScreen(), "scene-text"));
}

} // namespace
