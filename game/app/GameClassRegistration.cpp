#include "game/app/GameClassRegistration.h"

#include "engine/core/EngineServices.h"
#include "engine/scene/NodeFactory.h"
#include "game/app/IntroScene.h"
#include "game/app/LogosScene.h"
#include "game/screens/AwardUnlockedScene.h"
#include "game/screens/AwardsScene.h"
#include "game/screens/ComicsScene.h"
#include "game/screens/CreditsScene.h"
#include "game/screens/DebugStatsScene.h"
#include "game/screens/MainMenuScene.h"
#include "game/screens/OptionsScene.h"
#include "game/screens/SelectPlayerInputNameScene.h"
#include "game/screens/SelectPlayerScene.h"

namespace {

struct GameClass {
    const char16_t* typeName;
    CNodeFactory::NodeCreator create;
};

const GameClass kStartupSceneClasses[] = {
    {GDebugStatsScene::kTypeName, &createNodeOf<GDebugStatsScene>},
    {GLogosScene::kTypeName, &createNodeOf<GLogosScene>},
    {GIntroScene::kTypeName, &createNodeOf<GIntroScene>},
};

// Each part of the game adds its classes at their place in the list.
const GameClass kGameClasses[] = {
    {GMainMenuScene::kTypeName, &createNodeOf<GMainMenuScene>},
    {GSelectPlayerScene::kTypeName, &createNodeOf<GSelectPlayerScene>},
    {GSelectPlayerInputNameScene::kTypeName, &createNodeOf<GSelectPlayerInputNameScene>},
    {GComicsScene::kTypeName, &createNodeOf<GComicsScene>},
    {GAwardsScene::kTypeName, &createNodeOf<GAwardsScene>},
    {GAwardUnlockedScene::kTypeName, &createNodeOf<GAwardUnlockedScene>},
    {GOptionsScene::kTypeName, &createNodeOf<GOptionsScene>},
    {GCreditsScene::kTypeName, &createNodeOf<GCreditsScene>},
};

template <size_t N>
void registerClasses(const GameClass (&classes)[N]) {
    CNodeFactory& factory = *CEngineServices::instance()->getNodeFactory();
    for (const GameClass& gameClass : classes)
        factory.registerNodeType(gameClass.typeName, gameClass.create);
}

} // namespace

void registerStartupSceneClasses() {
    registerClasses(kStartupSceneClasses);
}

void registerGameClasses() {
    registerClasses(kGameClasses);
}
