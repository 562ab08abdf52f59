#include "game/level/GameLevelScene.h"

#include "engine/core/Logger.h"
#include "engine/io/ContentManager.h"
#include "engine/io/IVirtualFileSystem.h"

namespace {

bool failSave(const CStringW& path, const char16_t* reason) {
    CLogger::instance()->log(u"Could not save the walk grid to " + path + u": " + reason,
                             CLogger::LevelError);
    return false;
}

} // namespace

GGameLevelScene::GGameLevelScene(const CContentKey& key, BaseNode* parent,
                                 SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

void GGameLevelScene::setLevelConfig(GLevelConfig* config) {
    m_levelConfig = CRefPointer<GLevelConfig>::share(config);
}

void GGameLevelScene::setObjectConfigurations(ObjectConfigurations* configs) {
    m_objectConfigs = CRefPointer<ObjectConfigurations>::share(configs);
}

IVirtualFileSystem* GGameLevelScene::getFileSystem() const {
    CContentManager* content = getContentManager();
    return content != nullptr ? content->getFileSystem() : nullptr;
}

bool GGameLevelScene::loadWalkGrid(const CStringW& folder) {
    m_walkGrid.setDefaults();
    IVirtualFileSystem* files = getFileSystem();
    const CRefPointer<IInputFile> file =
        files != nullptr ? files->openInputFile(folder + u"wgrid.bin") : nullptr;
    return file && m_walkGrid.load(*file);
}

bool GGameLevelScene::saveWalkGrid() {
    if (!m_levelConfig)
        return failSave(u"wgrid.bin", u"the level has no configuration to name its setting");
    CStringW folder(u"assets/levels/setting");
    folder.append(m_levelConfig->settingIndex);
    const CStringW path = folder + u"/wgrid.bin";
    IVirtualFileSystem* files = getFileSystem();
    if (files == nullptr)
        return failSave(path, u"the level has no file system");
    const CStringW temporary = folder + u"/" + files->makeUniqueFileName(folder, u"wgrid");
    CRefPointer<IOutputFile> output = files->openOutputFile(temporary, false);
    if (!output)
        return failSave(path, u"the new file cannot be created");
    const bool written = m_walkGrid.save(*output);
    output.reset();
    if (!written) {
        files->removeFile(temporary);
        return failSave(path, u"the new file cannot be written in full");
    }
    if (!files->renameFile(temporary, path)) {
        files->removeFile(temporary);
        return failSave(path, u"the new file cannot replace the old one");
    }
    return true;
}
