#include "engine/audio/NullAudioDriver.h"

#include <gtest/gtest.h>

#include "engine/core/Event.h"
#include "engine/io/VirtualFileSystem.h"
#include "io/TempFolder.h"

TEST(NullAudioDriverTest, PlaysNothingAndLetsUpdatesTravelOn) {
    TempFolder folder;
    const CRefPointer<IVirtualFileSystem> files(new CVirtualFileSystem);
    const CRefPointer<CSoundLoaderManager> loaders(new CSoundLoaderManager());
    const CRefPointer<CNullAudioDriver> driver(new CNullAudioDriver({}, files, loaders.get()));
    EXPECT_EQ(driver->getName(), "Null audio device");
    EXPECT_EQ(driver->getStreamingThreshold(), 0x40000u);
    EXPECT_FALSE(driver->isProcessing());
    EXPECT_FALSE(driver->createSoundFromPath(folder.wide("missing.wav"), CContentKey()));
    CEventSystemFlowUpdate update(20);
    EXPECT_FALSE(driver->deliver(CEventReceiver::RouteSelf, update));
    EXPECT_EQ(driver->getCategoryMask(), CEvent::CategoryDevice | CEvent::CategorySystem);
}
