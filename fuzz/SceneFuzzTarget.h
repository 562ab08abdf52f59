#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "engine/core/RefPointer.h"
#include "engine/io/VirtualFile.h"
#include "engine/io/XmlTextWriter.h"
#include "engine/scene/NodeFactory.h"
#include "tests/scene/SceneFileFixtures.h"

// Loads arbitrary bytes as a scene file, from memory, with the node types the factory knows.
// The same bytes also stand as "a.qscn" and "sub/b.qscn", so that includes ("File") meet
// themselves and each other; the tree that loads is saved again.
inline int fuzzSceneFile(const uint8_t* data, size_t size, CRefPointer<CNodeFactory> factory) {
    if (size > (1u << 16))
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    SceneFiles scenes(std::move(factory));
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
