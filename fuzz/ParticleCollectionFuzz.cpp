// Reads an arbitrary document as a particle collection, publishing its emitters, then reads it
// as a single point and rectangle emitter and lets each emit into a full-size particle array,
// so that every number a file can hold reaches the emission step.
#include <cstddef>
#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/io/ContentManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/io/XmlTextReader.h"
#include "engine/ui/ParticleCollection.h"
#include "engine/ui/PointEmitter.h"
#include "engine/ui/RectangleEmitter.h"
#include "engine/ui/UiRegistration.h"
#include "fuzz/ConfigFuzzTarget.h"

namespace {

CContentManager& contentManager() {
    static CContentManager* manager = [] {
        registerUiLibrary();
        CRefPointer<IVirtualFileSystem> files(new CVirtualFileSystem());
        CRefPointer<CContentProcessorsManager> processors(
            new CContentProcessorsManager({}, ContentProcessorFactories()));
        return new CContentManager({}, files, processors);
    }();
    return *manager;
}

template <typename Emitter>
void emitFrom(CMemoryBlockFile& file, CContentManager& manager) {
    CRefPointer<Emitter> emitter(new Emitter(CContentKey(&manager, u"")));
    emitter->readXml(*readConfigDocument(file));
    CArray<Particle> particles;
    particles.reallocate(500);
    emitter->bindParticles(&particles);
    for (int tick = 0; tick < 4; ++tick)
        emitter->OnUpdate(tick == 0 ? 30 : 1000);
    if (particles.size() > 500)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CRefPointer<CMemoryBlockFile> file = openConfigDocument(data, size);
    if (!file)
        return 0;
    CContentManager& manager = contentManager();
    CRefPointer<ParticleCollection> collection(
        new ParticleCollection(CContentKey(&manager, u"fuzz")));
    collection->readXml(*readConfigDocument(*file));
    emitFrom<PointEmitter>(*file, manager);
    emitFrom<RectangleEmitter>(*file, manager);
    manager.releaseAll();
    return 0;
}
