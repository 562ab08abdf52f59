#pragma once

#include <cstdint>

#include "engine/core/Color.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/SpriteNode.h"
#include "engine/video/AtlasTexture.h"
#include "engine/video/QuadBatcher.h"
#include "tests/game/effects/EffectFixture.h"
#include "video/opengl/GLDriverFixture.h"

// Effect nodes in a scene of their own, drawn by the OpenGL driver as a frame draws a scene;
// small squares of one colour stand for their pictures.
class EffectPictureTest : public GLDriverTest, public EffectScene {
protected:
    // A square of one colour centred on the node's origin.
    CRefPointer<SpriteNode> square(BaseNode& parent, uint32_t argb, int32_t size = 8,
                                   const char* spriteName = "") {
        const CRefPointer<CAtlasTexture> image = texture(argb, size);
        CRefPointer<SpriteNode> sprite(new SpriteNode(CContentKey(), &parent, nullptr));
        sprite->setName(name(spriteName));
        sprite->setImage(image.get());
        sprite->setPosition({-float(size) / 2, -float(size) / 2, 0});
        return sprite;
    }
    CRefPointer<CAtlasTexture> texture(uint32_t argb, int32_t size) {
        CImageTexture* page =
            imageTexture(makeTestImage(size, size, [argb](int32_t, int32_t) { return argb; }));
        return CRefPointer<CAtlasTexture>(new CAtlasTexture(
            CContentKey(), CRefPointer<CImageTexture>::share(page), CRect(0, 0, 1, 1), {}, {}));
    }

    // The scene's drawables in depth order through the 2D batch.
    void drawScene() {
        begin2D(CColor(0xFF202038));
        RenderList list;
        scene->collectDrawables(list);
        sortRenderList(list);
        for (const Drawable& entry : list)
            entry.node->render(driver.get(), nullptr);
        driver->getQuadBatcher()->end();
    }
};
