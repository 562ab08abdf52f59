#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "engine/core/RefPointer.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneNodeProcessor.h"

// A file system that serves the files it was given from memory, by exact name.
class MemoryFileSystem : public CVirtualFileSystem {
public:
    void add(const std::u16string& name, const std::string& bytes) { m_files[name] = bytes; }

    CRefPointer<IInputFile> openInputFile(const CStringW& name) override {
        const auto found = m_files.find(std::u16string(name.c_str()));
        if (found == m_files.end())
            return nullptr;
        const std::string& bytes = found->second;
        auto* copy = new uint8_t[bytes.size() + 1];
        std::memcpy(copy, bytes.data(), bytes.size());
        return CRefPointer<IInputFile>(
            new CMemoryBlockFile(copy, int32_t(bytes.size()), name, true));
    }

private:
    std::map<std::u16string, std::string> m_files;
};

// A content manager over memory files that reads scene files with the given node factory.
class SceneFiles {
public:
    explicit SceneFiles(
        CRefPointer<CNodeFactory> nodeFactory = CRefPointer<CNodeFactory>(new CNodeFactory()))
        : factory(std::move(nodeFactory)) {
        processors->registerProcessor(
            CRefPointer<IContentProcessor>(new CSceneNodeProcessor(factory)));
    }

    // A copy of the file's tree, or none.
    CRefPointer<BaseNode> load(const char16_t* name) {
        const CRefPointer<CContent> content = manager->load(contentType("snod"), name, true);
        return CRefPointer<BaseNode>::share(static_cast<BaseNode*>(content.get()));
    }

    CRefPointer<CNodeFactory> factory;
    CRefPointer<MemoryFileSystem> files{new MemoryFileSystem()};
    CRefPointer<CContentProcessorsManager> processors{
        new CContentProcessorsManager({}, ContentProcessorFactories())};
    CRefPointer<CContentManager> manager{
        new CContentManager({}, CRefPointer<IVirtualFileSystem>::share(files.get()), processors)};
};
