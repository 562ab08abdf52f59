#pragma once

#include "engine/core/EngineServiceFactories.h"
#include "engine/core/EngineServices.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/NodeFactory.h"
#include "engine/ui/UiRegistration.h"
#include "game/app/GameClassRegistration.h"

// The engine's services made once with a node factory that knows the engine's nodes, the UI's
// and the game's classes.
inline CRefPointer<CNodeFactory> gameNodeFactory() {
    static const CRefPointer<CNodeFactory> factory = [] {
        engineServiceFactories().nodeFactory = [] {
            return CServiceReference<CNodeFactory>::adopt(new CNodeFactory());
        };
        CEngineServices::destroyInstance();
        CNodeFactory* services = CEngineServices::instance()->getNodeFactory();
        registerUiNodeTypes(*services);
        registerGameClasses();
        return CRefPointer<CNodeFactory>::share(services);
    }();
    return factory;
}
