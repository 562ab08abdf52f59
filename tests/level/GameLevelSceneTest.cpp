#include "game/level/GameLevelScene.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/core/EngineServiceFactories.h"
#include "engine/core/EngineServices.h"
#include "engine/core/EngineSubsystemFactories.h"
#include "engine/core/Utf.h"
#include "engine/io/ContentManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneRegistration.h"
#include "game/app/GameClassRegistration.h"
#include "tests/io/TempFolder.h"
#include "tests/level/LevelFixtures.h"
#include "tests/level/WalkGridFixtures.h"

namespace {

// The disk below one folder: every name is taken relative to it, as the game's names are
// relative to its working folder.
class FolderFileSystem : public CVirtualFileSystem {
public:
    explicit FolderFileSystem(const TempFolder& root) : m_root(root) {}

    bool fileExists(const CStringW& name, bool) override {
        return CVirtualFileSystem::fileExists(below(name), false);
    }
    bool removeFile(const CStringW& name) override {
        return CVirtualFileSystem::removeFile(below(name));
    }
    bool renameFile(const CStringW& from, const CStringW& to) override {
        return CVirtualFileSystem::renameFile(below(from), below(to));
    }
    CRefPointer<IInputFile> openInputFile(const CStringW& name) override {
        return CVirtualFileSystem::openInputFile(below(name));
    }
    CRefPointer<IOutputFile> openOutputFile(const CStringW& name, bool append) override {
        return CVirtualFileSystem::openOutputFile(below(name), append);
    }

private:
    CStringW below(const CStringW& name) const {
        return m_root.wide(utf16ToUtf8(name.c_str()).c_str());
    }

    const TempFolder& m_root;
};

// A level whose content manager reads and writes below a folder of the test's own.
class LevelOnDisk {
public:
    LevelOnDisk() {
        level = CRefPointer<GGameLevelScene>(
            new GGameLevelScene(CContentKey(manager.get(), u"Level.qscn"), nullptr, nullptr));
    }

    std::filesystem::path path(const char* name) const { return folder.path() / name; }
    void write(const char* name, const std::string& bytes) const {
        std::filesystem::create_directories(path(name).parent_path());
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string read(const char* name) const {
        std::ifstream in(path(name), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    TempFolder folder;
    CRefPointer<FolderFileSystem> files{new FolderFileSystem(folder)};
    CRefPointer<CContentProcessorsManager> processors{
        new CContentProcessorsManager({}, ContentProcessorFactories())};
    CRefPointer<CContentManager> manager{
        new CContentManager({}, CRefPointer<IVirtualFileSystem>::share(files.get()), processors)};
    CRefPointer<GGameLevelScene> level;
};

CRefPointer<GLevelConfig> levelInSetting(int32_t setting) {
    CRefPointer<GLevelConfig> config(new GLevelConfig);
    config->settingIndex = setting;
    return config;
}

const std::string kSmallGrid =
    WalkGridBytes().u32(16).u32(8).u32(6).u32(1).u32(77).u32(1).name("Pad").u32(1).u32(5).bytes();

// The process's services, with the scene library's node factory, for the time of a test.
class LevelClassRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        CEngineServices::destroyInstance();
        registerSceneLibrary();
    }
    void TearDown() override {
        engineSubsystemFactories() = EngineSubsystemFactories();
        engineServiceFactories() = EngineServiceFactories();
        contentProcessorFactories() = ContentProcessorFactories();
        CEngineServices::destroyInstance();
    }
};

TEST_F(LevelClassRegistrationTest, TheLevelCharactersAndLocationsAreGameClassesOfTheirKinds) {
    registerGameClasses();
    const CNodeFactory& factory = *CEngineServices::instance()->getNodeFactory();
    struct Case {
        const char16_t* type;
        uint32_t id;
        std::vector<uint32_t> kinds;
        uint32_t notKind;
    };
    const Case cases[] = {
        {u"GGameLevelScene", 1141, {1141, 6, 5, 0}, 1100},
        {u"GCharacterNode", 1147, {1147, 1146, 5, 0}, 6},
        {u"GLocationNode", 1151, {1151, 1146, 5, 0}, 1147},
    };
    for (const Case& c : cases) {
        const CRefPointer<BaseNode> node = factory.createNode(c.type, CContentKey());
        ASSERT_TRUE(node);
        EXPECT_EQ(node->getTypeId(), c.id);
        EXPECT_EQ(node->getTypeName(), CStringW(c.type));
        for (uint32_t kind : c.kinds)
            EXPECT_TRUE(node->isKindOf(kind)) << kind;
        EXPECT_FALSE(node->isKindOf(c.notKind));
    }
    EXPECT_FALSE(factory.createNode(u"GObjectNode", CContentKey()));
}

TEST(GameLevelSceneTest, TheConfigurationSettersHoldTheirRecords) {
    const CRefPointer<GGameLevelScene> level(new GGameLevelScene(CContentKey(), nullptr, nullptr));
    const CRefPointer<GLevelConfig> first = levelInSetting(1);
    const CRefPointer<GLevelConfig> second = levelInSetting(2);
    const CRefPointer<ObjectConfigurations> objects(new ObjectConfigurations);
    level->setLevelConfig(first.get());
    level->setObjectConfigurations(objects.get());
    EXPECT_EQ(first->getRefCount(), 2);
    EXPECT_EQ(objects->getRefCount(), 2);
    level->setLevelConfig(second.get());
    EXPECT_EQ(first->getRefCount(), 1);
    EXPECT_EQ(level->getLevelConfig(), second.get());
    level->setObjectConfigurations(nullptr);
    EXPECT_EQ(objects->getRefCount(), 1);
    EXPECT_EQ(level->getObjectConfigurations(), nullptr);
}

// Each part the file lacks is named once, however many copies of the level are made, and
// the level plays without it.
TEST(GameLevelSceneTest, ALevelWithoutItsPartsSaysSoOnceAndPlaysWithoutThem) {
    SceneFiles scenes = levelSceneFiles();
    scenes.files->add(u"Bare.qscn", "<SceneNode Type=\"GGameLevelScene\"/>");
    testing::internal::CaptureStdout();
    const CRefPointer<BaseNode> first = scenes.load(u"Bare.qscn");
    const CRefPointer<BaseNode> second = scenes.load(u"Bare.qscn");
    const std::string log = testing::internal::GetCapturedStdout();
    for (const char* part : {"CharactersNode", "LocationsNode", "AppearLocations"}) {
        const std::string line =
            std::string("WRN: The level Bare.qscn has no \"") + part + "\" and plays without it";
        const size_t found = log.find(line);
        EXPECT_NE(found, std::string::npos) << log;
        EXPECT_EQ(log.find(line, found + 1), std::string::npos) << "once: " << log;
    }
    auto& level = static_cast<GGameLevelScene&>(*second);
    const CRefPointer<CScheduler> clock(new CScheduler);
    giveClock(level, *clock);
    level.reset(false);
    level.setMode(0);
    clock->update(20);
    EXPECT_TRUE(level.isClosed()) << "a level without time closes in its first tick";
    EXPECT_TRUE(level.isRestarted());
    level.setScheduler(nullptr);
}

TEST(GameLevelSceneTest, TheGridIsReadFromTheLevelSettingsFolder) {
    SceneFiles scenes = levelSceneFiles();
    scenes.files->add(u"Level.qscn", "<SceneNode Type=\"GGameLevelScene\"/>");
    scenes.files->add(u"levels/setting1/wgrid.bin", kSmallGrid);
    scenes.files->add(u"levels/setting2/wgrid.bin", kSmallGrid.substr(0, 10));
    const CRefPointer<GGameLevelScene> level = CRefPointer<GGameLevelScene>::share(
        static_cast<GGameLevelScene*>(scenes.load(u"Level.qscn").get()));
    ASSERT_TRUE(level);
    const WalkGrid& grid = level->getWalkGrid();
    EXPECT_EQ(grid.getCellSize(), 0) << "no grid before one is loaded";

    ASSERT_TRUE(level->loadWalkGrid(u"levels/setting1/"));
    EXPECT_EQ(grid.getCellSize(), 16);
    EXPECT_EQ(grid.getColumns(), 8);
    EXPECT_EQ(grid.getRows(), 6);
    EXPECT_EQ(grid.getRegions().size(), 1u);

    struct Case {
        const char16_t* folder;
        const char* log;
    };
    const Case cases[] = {
        {u"levels/setting9/", ""},
        {u"levels/setting2/", "WRN: Walk grid levels/setting2/wgrid.bin refused: the file ends"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(level->loadWalkGrid(c.folder));
        const std::string log = testing::internal::GetCapturedStdout();
        if (*c.log == 0)
            EXPECT_EQ(log, "");
        else
            EXPECT_NE(log.find(c.log), std::string::npos) << log;
        EXPECT_EQ(grid.getCellSize(), 20);
        EXPECT_EQ(grid.getColumns(), 52);
        EXPECT_EQ(grid.getRows(), 39);
        EXPECT_EQ(grid.getRegions().size(), 0u);
    }
}

TEST(GameLevelSceneTest, SavingReplacesTheSettingsGridWhole) {
    LevelOnDisk disk;
    disk.write("assets/levels/setting2/wgrid.bin", kSmallGrid);
    disk.level->setLevelConfig(levelInSetting(2).get());
    ASSERT_TRUE(disk.level->loadWalkGrid(u"assets/levels/setting2/"));
    disk.level->getWalkGrid().getRegion(CNameId(CString("Bar"))).append(9);
    ASSERT_TRUE(disk.level->saveWalkGrid());

    const std::string saved = disk.read("assets/levels/setting2/wgrid.bin");
    EXPECT_EQ(saved.size(), kSmallGrid.size() + 1 + 3 + 4 + 4);
    EXPECT_EQ(saved.substr(0, 20), kSmallGrid.substr(0, 20)) << "sizes and extra entries";
    int files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(disk.path("assets/levels/setting2")))
        ++files;
    EXPECT_EQ(files, 1) << "no temporary file is left";

    ASSERT_TRUE(disk.level->loadWalkGrid(u"assets/levels/setting2/"));
    EXPECT_EQ(disk.level->getWalkGrid().getRegions().size(), 2u);
}

TEST(GameLevelSceneTest, AGridThatCannotBeWrittenIsReportedAndTheOldFileStays) {
    LevelOnDisk disk;
    disk.write("assets/levels/setting1/wgrid.bin", kSmallGrid);
    struct Case {
        int32_t setting; // -1: no level configuration
        const char* log;
    };
    const Case cases[] = {
        {3, "ERR: Could not save the walk grid to assets/levels/setting3/wgrid.bin: the new "
            "file cannot be created"},
        {-1, "ERR: Could not save the walk grid to wgrid.bin: the level has no configuration"},
    };
    for (const Case& c : cases) {
        disk.level->setLevelConfig(c.setting < 0 ? nullptr : levelInSetting(c.setting).get());
        testing::internal::CaptureStdout();
        EXPECT_FALSE(disk.level->saveWalkGrid());
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_NE(log.find(c.log), std::string::npos) << log;
    }
    EXPECT_FALSE(std::filesystem::exists(disk.path("assets/levels/setting3")));
    EXPECT_EQ(disk.read("assets/levels/setting1/wgrid.bin"), kSmallGrid);
}

} // namespace
