// Reads an arbitrary document as a sound pack and registers its cues: every input must give
// cues or none without a fault, and the audio driver's streaming threshold must come back to
// what it was whatever the cues' streaming types and however the document ends.
#include <cstddef>
#include <cstdint>

#include "engine/audio/NullAudioDriver.h"
#include "engine/audio/SoundPack.h"
#include "engine/audio/SoundPlayer.h"
#include "engine/io/ContentManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/io/XmlContentFrame.h"
#include "fuzz/FuzzInputFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    const CRefPointer<IVirtualFileSystem> files(new CVirtualFileSystem());
    const CRefPointer<CContentProcessorsManager> processors(
        new CContentProcessorsManager({}, ContentProcessorFactories()));
    const CRefPointer<CContentManager> manager(new CContentManager({}, files, processors));
    const CRefPointer<CNullAudioDriver> driver(new CNullAudioDriver({}, files, nullptr));
    driver->setStreamingThreshold(12345);

    const CRefPointer<CMemoryBlockFile> file = makeFuzzInputFile(data, size, u"fuzz/pack.xml");
    const CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file.get()));
    const CRefPointer<SoundPack> pack(new SoundPack(CContentKey(manager.get(), file->getName())));
    {
        const CContentDirectoryScope scope(*manager, file->getName());
        pack->readXml(*reader, *manager, driver.get());
    }
    if (driver->getStreamingThreshold() != 12345)
        __builtin_trap();

    const CRefPointer<CSoundPlayer> player(new CSoundPlayer(driver));
    pack->addCuesTo(*player);
    for (const CRefPointer<SoundCue>& cue : pack->getCues()) {
        if (player->playCue(cue->getName()))
            __builtin_trap();
    }
    return 0;
}
