#include "engine/ui/ParticleCollectionProcessor.h"

#include "engine/io/XmlContentFrame.h"
#include "engine/ui/ParticleCollection.h"

CRefPointer<CContent> CParticleCollectionProcessor::load(CContentManager& manager, IInputFile* file,
                                                         const CContentKey& key) {
    if (!getFileSystem())
        return nullptr;
    return loadXmlContent(
        manager, *getFileSystem(), file, key,
        [](const CContentKey& k) {
            return CRefPointer<ParticleCollection>(new ParticleCollection(k));
        },
        [](ParticleCollection& collection, CXmlTextReader& reader) { collection.readXml(reader); });
}
