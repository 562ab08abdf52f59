// Loads arbitrary bytes as a scene file with the game's node classes beside the engine's, in
// the engine's own node factory, as the start-up and the intro register them: the game's
// screens name their class in "ClassOverride". See fuzzSceneFile.
#include <cstddef>
#include <cstdint>

#include "engine/core/EngineServices.h"
#include "engine/ui/UiRegistration.h"
#include "fuzz/SceneFuzzTarget.h"
#include "game/app/GameClassRegistration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CNodeFactory* const factory = [] {
        registerUiLibrary();
        registerStartupSceneClasses();
        registerGameClasses();
        return CEngineServices::instance()->getNodeFactory();
    }();
    return fuzzSceneFile(data, size, CRefPointer<CNodeFactory>::share(factory));
}
