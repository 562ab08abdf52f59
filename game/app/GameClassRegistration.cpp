#include "game/app/GameClassRegistration.h"

#include "engine/core/EngineServices.h"
#include "engine/scene/NodeFactory.h"
#include "game/app/IntroScene.h"
#include "game/app/LogosScene.h"
#include "game/effects/BaloonNode.h"
#include "game/effects/BoomboxHeartsEffectNode.h"
#include "game/effects/BurstGravityNode.h"
#include "game/effects/CarNode.h"
#include "game/effects/CircularBirdNode.h"
#include "game/effects/CircularMovableNode.h"
#include "game/effects/ClientMoneyEffectNode.h"
#include "game/effects/HipHopHeartsNode.h"
#include "game/effects/JumpingRowNode.h"
#include "game/effects/MagnetMovableNode.h"
#include "game/effects/P2PMovableNode.h"
#include "game/effects/PathMovableNode.h"
#include "game/effects/PedestrianNode.h"
#include "game/effects/PlaneNode.h"
#include "game/effects/QueueBoxEffectNode.h"
#include "game/effects/ScooterNode.h"
#include "game/effects/SelfDestructNode.h"
#include "game/effects/SpeedUpNode.h"
#include "game/effects/SplineMovableNode.h"
#include "game/effects/WaveNode.h"
#include "game/level/CharacterNode.h"
#include "game/level/ClientNode.h"
#include "game/level/ConverterNode.h"
#include "game/level/DeviceNode.h"
#include "game/level/DrinksMachineNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/HeroNode.h"
#include "game/level/LocationNode.h"
#include "game/level/MiniGameBallScene.h"
#include "game/level/MiniGameDanceScene.h"
#include "game/level/MiniGameDrinkScene.h"
#include "game/level/MiniGameRoulScene.h"
#include "game/level/RecycleNode.h"
#include "game/level/SandwichMachineNode.h"
#include "game/level/StaffNode.h"
#include "game/level/SuperPadNode.h"
#include "game/screens/AwardUnlockedScene.h"
#include "game/screens/AwardsScene.h"
#include "game/screens/ComicsScene.h"
#include "game/screens/CounterTextNode.h"
#include "game/screens/CreditsScene.h"
#include "game/screens/DebugStatsScene.h"
#include "game/screens/EllipseProgressBarNode.h"
#include "game/screens/EllipseSectorNode.h"
#include "game/screens/GameBriefingScene.h"
#include "game/screens/GameNewClientScene.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/GameShopScene.h"
#include "game/screens/HelpScene.h"
#include "game/screens/HintNode.h"
#include "game/screens/InGameMenuScene.h"
#include "game/screens/LevelCompletedScene.h"
#include "game/screens/LoadingLevelScene.h"
#include "game/screens/MainMenuScene.h"
#include "game/screens/MapLocationButton.h"
#include "game/screens/MapScene.h"
#include "game/screens/OptionsScene.h"
#include "game/screens/SectorSpriteNode.h"
#include "game/screens/SelectPlayerInputNameScene.h"
#include "game/screens/SelectPlayerScene.h"
#include "game/screens/ShopListNode.h"
#include "game/screens/TwoSpritesProgressBarNode.h"

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
    {GMapLocationButton::kTypeName, &createNodeOf<GMapLocationButton>},
    {GMapScene::kTypeName, &createNodeOf<GMapScene>},
    {GComicsScene::kTypeName, &createNodeOf<GComicsScene>},
    {GLoadingLevelScene::kTypeName, &createNodeOf<GLoadingLevelScene>},
    {GGameShopScene::kTypeName, &createNodeOf<GGameShopScene>},
    {GShopListNode::kTypeName, &createNodeOf<GShopListNode>},
    {GGamePlayScene::kTypeName, &createNodeOf<GGamePlayScene>},
    {GEllipseSectorNode::kTypeName, &createNodeOf<GEllipseSectorNode>},
    {EllipseProgressBarNode::kTypeName, &createNodeOf<EllipseProgressBarNode>},
    {GCounterTextNode::kTypeName, &createNodeOf<GCounterTextNode>},
    {GTwoSpritesProgressBarNode::kTypeName, &createNodeOf<GTwoSpritesProgressBarNode>},
    {GHintNode::kTypeName, &createNodeOf<GHintNode>},
    {GGameBriefingScene::kTypeName, &createNodeOf<GGameBriefingScene>},
    {GGameNewClientScene::kTypeName, &createNodeOf<GGameNewClientScene>},
    {GLevelCompletedScene::kTypeName, &createNodeOf<GLevelCompletedScene>},
    {GAwardsScene::kTypeName, &createNodeOf<GAwardsScene>},
    {GHelpScene::kTypeName, &createNodeOf<GHelpScene>},
    {GAwardUnlockedScene::kTypeName, &createNodeOf<GAwardUnlockedScene>},
    {GSectorSpriteNode::kTypeName, &createNodeOf<GSectorSpriteNode>},
    {GInGameMenuScene::kTypeName, &createNodeOf<GInGameMenuScene>},
    {GOptionsScene::kTypeName, &createNodeOf<GOptionsScene>},
    {GCreditsScene::kTypeName, &createNodeOf<GCreditsScene>},
    {GGameLevelScene::kTypeName, &createNodeOf<GGameLevelScene>},
    {GCharacterNode::kTypeName, &createNodeOf<GCharacterNode>},
    {GHeroNode::kTypeName, &createNodeOf<GHeroNode>},
    {GStaffNode::kTypeName, &createNodeOf<GStaffNode>},
    {GClientNode::kTypeName, &createNodeOf<GClientNode>},
    {GLocationNode::kTypeName, &createNodeOf<GLocationNode>},
    {GDeviceNode::kTypeName, &createNodeOf<GDeviceNode>},
    {GRecycleNode::kTypeName, &createNodeOf<GRecycleNode>},
    {GConverterNode::kTypeName, &createNodeOf<GConverterNode>},
    {GSuperPadNode::kTypeName, &createNodeOf<GSuperPadNode>},
    {GDrinksMachineNode::kTypeName, &createNodeOf<GDrinksMachineNode>},
    {GSandwichMachineNode::kTypeName, &createNodeOf<GSandwichMachineNode>},
    {GSelfDestructNode::kTypeName, &createNodeOf<GSelfDestructNode>},
    {GSplineMovableNode::kTypeName, &createNodeOf<GSplineMovableNode>},
    {GP2PMovableNode::kTypeName, &createNodeOf<GP2PMovableNode>},
    {GHipHopHeartsNode::kTypeName, &createNodeOf<GHipHopHeartsNode>},
    {GMagnetMovableNode::kTypeName, &createNodeOf<GMagnetMovableNode>},
    {GSpeedUpNode::kTypeName, &createNodeOf<GSpeedUpNode>},
    {GBoomboxHeartsEffectNode::kTypeName, &createNodeOf<GBoomboxHeartsEffectNode>},
    {GClientMoneyEffectNode::kTypeName, &createNodeOf<GClientMoneyEffectNode>},
    {GQueueBoxEffectNode::kTypeName, &createNodeOf<GQueueBoxEffectNode>},
    {GMiniGameBallScene::kTypeName, &createNodeOf<GMiniGameBallScene>},
    {GMiniGameDanceScene::kTypeName, &createNodeOf<GMiniGameDanceScene>},
    {GMiniGameRoulScene::kTypeName, &createNodeOf<GMiniGameRoulScene>},
    {GMiniGameDrinkScene::kTypeName, &createNodeOf<GMiniGameDrinkScene>},
    {GPathMovableNode::kTypeName, &createNodeOf<GPathMovableNode>},
    {GCircularBirdNode::kTypeName, &createNodeOf<GCircularBirdNode>},
    {GCircularMovableNode::kTypeName, &createNodeOf<GCircularMovableNode>},
    {GWaveNode::kTypeName, &createNodeOf<GWaveNode>},
    {GScooterNode::kTypeName, &createNodeOf<GScooterNode>},
    {GPlaneNode::kTypeName, &createNodeOf<GPlaneNode>},
    {GPedestrianNode::kTypeName, &createNodeOf<GPedestrianNode>},
    {GBaloonNode::kTypeName, &createNodeOf<GBaloonNode>},
    {GBurstGravityNode::kTypeName, &createNodeOf<GBurstGravityNode>},
    {GCarNode::kTypeName, &createNodeOf<GCarNode>},
    {GJumpingRowNode::kTypeName, &createNodeOf<GJumpingRowNode>},
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
