#include "engine/audio/SoundPackProcessor.h"

#include <utility>

#include "engine/audio/SoundPack.h"
#include "engine/core/Engine.h"
#include "engine/io/XmlContentFrame.h"

CSoundPackProcessor::CSoundPackProcessor(CRefPointer<IVirtualFileSystem> fileSystem)
    : m_fileSystem(std::move(fileSystem)) {}

CRefPointer<IContentProcessor>
CSoundPackProcessor::create(const ContentProcessorServices& services) {
    return CRefPointer<IContentProcessor>(new CSoundPackProcessor(services.fileSystem));
}

uint32_t CSoundPackProcessor::getContentType() const {
    return SoundPack::kContentType;
}

CRefPointer<CContent> CSoundPackProcessor::load(CContentManager& manager, IInputFile* file,
                                                const CContentKey& key) {
    if (!m_fileSystem)
        return nullptr;
    const CEngine* engine = CEngine::instance();
    IAudioDriver* driver = engine ? engine->getAudioDriver() : nullptr;
    return loadXmlContent(
        manager, *m_fileSystem, file, key,
        [](const CContentKey& packKey) { return CRefPointer<SoundPack>(new SoundPack(packKey)); },
        [&manager, driver](SoundPack& pack, CXmlTextReader& reader) {
            pack.readXml(reader, manager, driver);
        });
}
