// Reads an arbitrary document both as object configuration and as a level list, so that its
// client queues can name wish lists and resources of its own, then reads the list again after
// clearing it and walks every level.
#include <cstddef>
#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/io/XmlTextReader.h"
#include "fuzz/ConfigFuzzTarget.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/ObjectConfigurations.h"

namespace {

uint32_t visitLevels(const LevelsConfiguration& levels) {
    uint32_t checksum = 0;
    for (uint32_t i = 0; i < levels.getLevelCount(); ++i) {
        const GLevelConfig& level = *levels.getLevel(int32_t(i));
        checksum += uint32_t(level.colorsCount) + level.locationTypes.size();
        checksum += level.bonusTables->chainBonuses.size();
        for (const GClientQueueEntry& entry : level.clientsQueue) {
            checksum += entry.referencedEntries.size();
            for (const GQueuedClient& client : entry.clients) {
                for (const GClientOrder& order : client.orders->orders)
                    checksum += order.items.size();
            }
        }
    }
    return checksum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CRefPointer<CMemoryBlockFile> file = openConfigDocument(data, size);
    if (!file)
        return 0;
    CRefPointer<ObjectConfigurations> objects(new ObjectConfigurations);
    objects->load(*readConfigDocument(*file));
    CRefPointer<LevelsConfiguration> levels(new LevelsConfiguration);
    levels->load(*readConfigDocument(*file), objects.get());
    const CRefPointer<GLevelConfig> held = CRefPointer<GLevelConfig>::share(levels->getLevel(0));
    levels->clear();
    levels->load(*readConfigDocument(*file), objects.get());
    volatile uint32_t sink = visitLevels(*levels) + (held ? held->clientsQueue.size() : 0);
    (void)sink;
    return 0;
}
