#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/SceneNode.h"
#include "game/app/LevelConfig.h"
#include "game/app/ObjectConfigurations.h"
#include "game/level/WalkGrid.h"

class IVirtualFileSystem;

// The play field of one level: the root of the level's scene file, shown by the gameplay screen
// and the shop. It keeps the level's configuration, the object configuration its objects share
// and the walk grid on which its characters find their paths.
class GGameLevelScene : public NodeClass<GGameLevelScene, SceneNode> {
public:
    static constexpr uint32_t kTypeId = 1141;
    static constexpr const char16_t* kTypeName = u"GGameLevelScene";

    GGameLevelScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    // Each keeps a reference to the new record and drops the one it had.
    void setLevelConfig(GLevelConfig* config);
    void setObjectConfigurations(ObjectConfigurations* configs);
    GLevelConfig* getLevelConfig() const { return m_levelConfig.get(); }
    ObjectConfigurations* getObjectConfigurations() const { return m_objectConfigs.get(); }

    // Sets the default grid, then reads folder + "wgrid.bin" (the folder ends in "/") through
    // the file system of the content manager that loaded the level. False when the file does
    // not open, or is refused; the default grid then stays.
    bool loadWalkGrid(const CStringW& folder);
    // Writes "assets/levels/setting<SettingIndex>/wgrid.bin" below the working folder: into a
    // new file first, which then replaces the old one, so that a failure never leaves half a
    // grid. A failure is logged and answers false.
    bool saveWalkGrid();
    WalkGrid& getWalkGrid() { return m_walkGrid; }

protected:
    ~GGameLevelScene() override = default;

private:
    IVirtualFileSystem* getFileSystem() const;

    WalkGrid m_walkGrid;
    CRefPointer<GLevelConfig> m_levelConfig;
    CRefPointer<ObjectConfigurations> m_objectConfigs;
};
