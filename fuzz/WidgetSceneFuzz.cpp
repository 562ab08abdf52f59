// Loads arbitrary bytes as a scene file with the game's widgets (and the engine's nodes), then
// draws the tree through a null driver twice and runs every counter from its start to past its
// end, so that every angle, count, value and colour a file can hold reaches the fans, meshes,
// bars and counts. The atlas textures "w.png" (100 x 50 pixels) and "z.png" (no width) are
// there to be named.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/RefPointer.h"
#include "engine/video/AtlasTexture.h"
#include "engine/video/ImageTexture.h"
#include "fuzz/FuzzVideoContent.h"
#include "fuzz/GameNodeFactory.h"
#include "game/screens/CounterTextNode.h"
#include "tests/scene/SceneFileFixtures.h"

namespace {

void addAtlasTexture(CContentManager& manager, const char16_t* name, uint32_t width,
                     uint32_t height, float right) {
    const CRefPointer<IDriverTexture> texture(new FuzzDriverTexture(width, height));
    const CRefPointer<CImageTexture> page(new CImageTexture(CContentKey(), name, texture.get()));
    const CPixelSize storage = texture->getSize();
    const CRefPointer<CAtlasTexture> image(new CAtlasTexture(
        CContentKey(&manager, name), page,
        CRect(0, 0, right / float(storage.width), float(height) / float(storage.height)), {}, {}));
    manager.addToCacheAs(CContentKey(&manager, name), image.get());
}

void drawTree(BaseNode& tree, IRenderDriver& driver) {
    RenderList list;
    tree.collectDrawables(list);
    sortRenderList(list);
    for (const Drawable& entry : list)
        entry.node->render(&driver, nullptr);
}

void runCounters(BaseNode& node) {
    if (node.isKindOf(GCounterTextNode::kTypeId)) {
        auto& counter = static_cast<GCounterTextNode&>(node);
        counter.setStartCounting(false);
        counter.setStartCounting(true);
        for (uint32_t ms : {30u, 30u, 100000u, 0xFFFFFFFFu})
            counter.OnUpdate(ms);
    }
    for (uint32_t i = 0; i < node.getChildCount(); ++i)
        runCounters(*node.getChild(i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16))
        return 0;
    SceneFiles scenes(gameNodeFactory());
    scenes.files->add(u"main.qscn", std::string(reinterpret_cast<const char*>(data), size));
    addAtlasTexture(*scenes.manager, u"w.png", 100, 50, 100);
    addAtlasTexture(*scenes.manager, u"z.png", 100, 50, 0);
    const CRefPointer<BaseNode> tree = scenes.load(u"main.qscn");
    if (!tree)
        return 0;
    const CRefPointer<FuzzRenderDriver> driver(new FuzzRenderDriver());
    drawTree(*tree, *driver);
    runCounters(*tree);
    drawTree(*tree, *driver);
    return 0;
}
