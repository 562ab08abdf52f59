// Loads arbitrary bytes as a scene file, from memory, with all the engine's node types (the
// controls and particle nodes too). The same bytes also stand as "a.qscn" and "sub/b.qscn", so
// that includes ("File") meet themselves and each other; the tree that loads is saved again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/RefPointer.h"
#include "engine/io/VirtualFile.h"
#include "engine/io/XmlTextWriter.h"
#include "engine/ui/UiRegistration.h"
#include "tests/scene/SceneFileFixtures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16))
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    SceneFiles scenes;
    registerUiNodeTypes(*scenes.factory);
    for (const char16_t* name : {u"main.qscn", u"a.qscn", u"sub/b.qscn"})
        scenes.files->add(name, bytes);
    const CRefPointer<BaseNode> tree = scenes.load(u"main.qscn");
    if (tree) {
        const CRefPointer<CVirtualFile> file(new CVirtualFile(u"out.qscn", 4096));
        const CRefPointer<CXmlTextWriter> writer(
            new CXmlTextWriter(CRefPointer<IOutputFile>::share(file.get())));
        tree->saveToXml(*writer);
    }
    return 0;
}
