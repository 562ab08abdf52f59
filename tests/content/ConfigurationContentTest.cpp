#include <gtest/gtest.h>

#include "content/ContentFiles.h"
#include "engine/core/Properties.h"
#include "engine/io/VirtualFileSystem.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/ObjectConfigurations.h"

using namespace content_files;

// The configuration that the start-up reads, read by the game's own readers from the archive
// mounted the way the game mounts it.
TEST(ConfigurationContentTest, ObjectsAndTheLevelListsOfBothDifficultiesRead) {
    CRefPointer<CVirtualFileSystem> fileSystem(new CVirtualFileSystem);
    ASSERT_TRUE(fileSystem->addArchive(wide(VELMORA_CONTENT_ARCHIVE), kContentArchivePassword));
    CRefPointer<ObjectConfigurations> objects(new ObjectConfigurations);
    EXPECT_EQ(objects->loadFiles(*fileSystem).size(), 0u);
    for (int32_t difficulty : {0, 1}) {
        CRefPointer<CProperties> profile(new CProperties);
        profile->setInt("PlayerDifficulty", difficulty);
        CRefPointer<LevelsConfiguration> levels(new LevelsConfiguration);
        EXPECT_TRUE(levels->loadFile(*fileSystem, *profile, objects.get())) << difficulty;
    }
}
