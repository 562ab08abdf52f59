// Reads an arbitrary document as a paths file, then sends a path mover along each path (both
// ways, once looping) and a car along it, and reads the document again into the same set.
#include <cstddef>
#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/io/XmlTextReader.h"
#include "fuzz/ConfigFuzzTarget.h"
#include "game/effects/CarNode.h"
#include "game/effects/PathMovableNode.h"
#include "game/effects/PathSet.h"

namespace {

// The first paths of a set, at most this many.
constexpr uint32_t kVisited = 32;

uint32_t travel(GPath& path) {
    uint32_t checksum = 0;
    const CRefPointer<GPathMovableNode> mover(
        new GPathMovableNode(CContentKey(), nullptr, nullptr));
    mover->setSpeed(50);
    const bool ways[][2] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const bool(&way)[2] : ways) {
        mover->startPath(&path, 1, way[0], way[1]);
        for (int tick = 0; tick < 4; ++tick)
            mover->advance(200);
        checksum += uint32_t(mover->getTargetIndex());
    }
    const CRefPointer<GCarNode> car(new GCarNode(CContentKey(), nullptr, nullptr));
    car->startPath(&path);
    for (int tick = 0; tick < 4 && car->OnUpdate(20); ++tick)
        checksum += car->getSegmentIndex();
    return checksum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CRefPointer<CMemoryBlockFile> file = openConfigDocument(data, size);
    if (!file)
        return 0;
    CRefPointer<GPathSet> set(new GPathSet);
    uint32_t checksum = set->load(*readConfigDocument(*file)) ? 1 : 0;
    for (uint32_t i = 0; i < set->getPathCount() && i < kVisited; ++i)
        checksum += travel(*set->getPath(i));
    checksum += set->load(*readConfigDocument(*file)) ? set->getPathCount() : 0;
    volatile uint32_t sink = checksum;
    (void)sink;
    return 0;
}
