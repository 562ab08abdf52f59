// Loads arbitrary bytes as a scene file with all the engine's node types (the controls and
// particle nodes too); see fuzzSceneFile.
#include <cstddef>
#include <cstdint>

#include "engine/ui/UiRegistration.h"
#include "fuzz/SceneFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CRefPointer<CNodeFactory> factory(new CNodeFactory());
    registerUiNodeTypes(*factory);
    return fuzzSceneFile(data, size, factory);
}
