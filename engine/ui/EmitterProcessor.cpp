#include "engine/ui/EmitterProcessor.h"

#include "engine/io/XmlContentFrame.h"
#include "engine/ui/BaseEmitter.h"

CRefPointer<CContent> CEmitterProcessor::load(CContentManager& manager, IInputFile* file,
                                              const CContentKey& key) {
    if (!getFileSystem())
        return nullptr;
    return loadXmlContent(
        manager, *getFileSystem(), file, key,
        [](const CContentKey& k) { return CRefPointer<BaseEmitter>(new BaseEmitter(k)); },
        [](BaseEmitter& emitter, CXmlTextReader& reader) { emitter.readXml(reader); });
}
