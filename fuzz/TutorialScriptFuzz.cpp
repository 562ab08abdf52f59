// Reads an arbitrary document as object configuration and then twice as a tutorial script, so
// that the queues of its actions can name wish lists of its own and a reload replaces what the
// first reading made; then walks every hint.
#include <cstddef>
#include <cstdint>

#include "engine/core/RefPointer.h"
#include "fuzz/ConfigFuzzTarget.h"
#include "game/app/ObjectConfigurations.h"
#include "game/screens/TutorialActions.h"
#include "game/screens/TutorialScript.h"

namespace {

uint32_t visitHints(const GTutorialScript& script) {
    uint32_t checksum = script.getForcedItemsForClients().size();
    for (const CRefPointer<GTutorialHint>& hint : script.getHints()) {
        checksum += hint->text.length() + hint->image.length() + hint->arrows.size();
        for (const CRefPointer<GTutorialAction>& action : hint->actions) {
            checksum += uint32_t(action->getSkipCount());
            const auto* queue =
                dynamic_cast<const GTutorialActionInsertClientsQueue*>(action.get());
            if (queue == nullptr)
                continue;
            for (const GClientQueueEntry& entry : queue->clientsQueue) {
                for (const GQueuedClient& client : entry.clients)
                    checksum += client.orders->orders.size();
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
    CRefPointer<GTutorialScript> script(new GTutorialScript);
    script->load(*readConfigDocument(*file), objects.get());
    script->load(*readConfigDocument(*file), objects.get());
    volatile uint32_t sink = visitHints(*script);
    (void)sink;
    return 0;
}
