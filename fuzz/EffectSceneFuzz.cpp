// Loads arbitrary bytes as a scene file with the game's node classes (the effect nodes among
// them) and the engine's, opens it in a scene manager whose template collection holds "Heart",
// then draws it and runs its clock for 2 s from a seeded generator, drawing now and then so
// that nodes whose run has ended start again; the tree left is saved.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Scheduler.h"
#include "engine/io/VirtualFile.h"
#include "engine/io/XmlTextWriter.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/ui/UiRegistration.h"
#include "game/app/GameClassRegistration.h"
#include "tests/scene/SceneFileFixtures.h"

namespace {

CNodeFactory& gameNodeFactory() {
    static CNodeFactory& factory = [&]() -> CNodeFactory& {
        registerUiLibrary();
        registerGameClasses();
        return *CEngineServices::instance()->getNodeFactory();
    }();
    return factory;
}

void draw(BaseNode& root) {
    RenderList list;
    root.collectDrawables(list);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16))
        return 0;
    SceneFiles scenes(CRefPointer<CNodeFactory>::share(&gameNodeFactory()));
    scenes.files->add(u"main.qscn", std::string(reinterpret_cast<const char*>(data), size));
    const CRefPointer<BaseNode> tree = scenes.load(u"main.qscn");
    if (!tree)
        return 0;
    CEngineServices::instance()->getRandom()->seed(48);
    const CRefPointer<SceneManager> manager(new SceneManager(CContentKey(), nullptr, nullptr));
    const CRefPointer<TemplateCollectionNode> templates(
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr));
    const CRefPointer<BaseNode> heart(new BaseNode(CContentKey(), templates.get(), nullptr));
    heart->setName(CNameId(CString("Heart")));
    CRefPointer<BaseNode>(new BaseNode(CContentKey(), heart.get(), nullptr));
    templates->OnLoaded();
    manager->setTemplateCollection(templates.get());
    const CRefPointer<SceneNode> scene(new SceneNode(CContentKey(), nullptr, nullptr));
    scene->appendChild(tree.get());
    manager->openScene(scene.get(), CNameId());
    for (int tick = 0; tick < 20; ++tick) {
        if (tick % 4 == 0)
            draw(*scene);
        scene->getClock()->update(100);
    }
    const CRefPointer<CVirtualFile> file(new CVirtualFile(u"out.qscn", 4096));
    const CRefPointer<CXmlTextWriter> writer(
        new CXmlTextWriter(CRefPointer<IOutputFile>::share(file.get())));
    scene->saveToXml(*writer);
    scene->removeAllChildren();
    return 0;
}
