#include "engine/video/AtlasCollectionProcessor.h"

#include <utility>

#include "engine/io/XmlContentFrame.h"
#include "engine/video/AtlasTextureCollection.h"

CAtlasCollectionProcessor::CAtlasCollectionProcessor(CRefPointer<IVirtualFileSystem> fileSystem)
    : m_fileSystem(std::move(fileSystem)) {}

CRefPointer<CContent> CAtlasCollectionProcessor::load(CContentManager& manager, IInputFile* file,
                                                      const CContentKey& key) {
    if (!m_fileSystem)
        return nullptr;
    return loadXmlContent(
        manager, *m_fileSystem, file, key,
        [](const CContentKey& k) {
            return CRefPointer<AtlasTextureCollection>(new AtlasTextureCollection(k));
        },
        [](AtlasTextureCollection& collection, CXmlTextReader& reader) {
            collection.readXml(reader);
        });
}

bool CAtlasCollectionProcessor::canSave(const CStringW&) const {
    return bool(m_fileSystem);
}

bool CAtlasCollectionProcessor::save(CContentManager&, CContent* object, IOutputFile* file,
                                     int32_t) {
    if (!m_fileSystem || !object || object->getContentType() != contentType("atxc"))
        return false;
    const CRefPointer<CXmlTextWriter> writer =
        m_fileSystem->openXmlWriter(CRefPointer<IOutputFile>::share(file));
    if (!writer)
        return false;
    writer->writeHeader();
    static_cast<AtlasTextureCollection*>(object)->writeXml(*writer);
    return true;
}
