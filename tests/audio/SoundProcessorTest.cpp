#include "engine/audio/SoundProcessor.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/audio/StreamedSoundSource.h"
#include "engine/core/DeviceDriverEvents.h"
#include "engine/core/PropertyDataContent.h"
#include "engine/io/ContentManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "io/TempFolder.h"
#include "tests/audio/LoopbackDriver.h"

namespace {

class SoundProcessorTest : public ::testing::Test {
protected:
    SoundProcessorTest() {
        files->addArchive(folder.wide(), nullptr);
        std::filesystem::create_directories(folder.path() / "sounds");
        const sounds::Bytes beep = sounds::wave16(1, 8000, std::vector<int16_t>(800, 1000));
        for (const char* name : {"beep.wav", "music.wav"}) {
            std::ofstream(folder.path() / "sounds" / name, std::ios::binary)
                .write(reinterpret_cast<const char*>(beep.data()), std::streamsize(beep.size()));
        }
        ContentProcessorFactories factories;
        factories.sound = &CSoundProcessor::create;
        ContentProcessorServices services;
        services.audioDriver = reference(driver);
        processors = CRefPointer<CContentProcessorsManager>(
            new CContentProcessorsManager(services, factories));
        manager = CRefPointer<CContentManager>(new CContentManager({}, files, processors));
    }

    static CServiceReference<IAudioDriver> reference(const CRefPointer<COpenALAudioDriver>& d) {
        return CServiceReference<IAudioDriver>::adopt(CRefPointer<COpenALAudioDriver>(d).detach());
    }

    CRefPointer<CSoundSource> load(const char16_t* name) {
        const CRefPointer<CContent> content =
            manager->load(CSoundSource::kContentType, name, false);
        return CRefPointer<CSoundSource>::share(dynamic_cast<CSoundSource*>(content.get()));
    }

    // Driver events go to the processors first, then to the content manager's caches.
    void deliver(CEvent& event) {
        processors->deliver(CEventReceiver::RouteSelfThenChildren, event);
        manager->deliver(CEventReceiver::RouteSelfThenChildren, event);
    }

    TempFolder folder;
    CRefPointer<IVirtualFileSystem> files{new CVirtualFileSystem};
    CRefPointer<COpenALAudioDriver> driver = loopback::makeDriver();
    CRefPointer<CContentProcessorsManager> processors;
    CRefPointer<CContentManager> manager;
};

} // namespace

TEST_F(SoundProcessorTest, StaticSoundsAreCachedAndCopiedStreamedOnesLoadedAnew) {
    const CRefPointer<CSoundSource> first = load(u"sounds/beep.wav");
    const CRefPointer<CSoundSource> second = load(u"sounds/beep.wav");
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_TRUE(first->play() && second->play()) << "copies play side by side";
    EXPECT_NE(manager->find(CSoundSource::kContentType, first->getContentKey()), nullptr);

    driver->setStreamingThreshold(0);
    const CRefPointer<CSoundSource> streamed = load(u"sounds/music.wav");
    ASSERT_TRUE(dynamic_cast<CStreamedSoundSource*>(streamed.get()));
    streamed->setVolume(0.25f);
    streamed->setLooping(true);
    const CRefPointer<CContent> copy = streamed->makeCopy();
    const CSoundSource* again = dynamic_cast<const CSoundSource*>(copy.get());
    ASSERT_TRUE(again);
    EXPECT_NE(again, streamed.get());
    EXPECT_EQ(again->getVolume(), 0.25f);
    EXPECT_TRUE(again->isLooping());
    EXPECT_FALSE(load(u"sounds/missing.wav"));
}

TEST_F(SoundProcessorTest, SoundsGoWithTheirDriverAndComeFromTheNextOne) {
    ASSERT_TRUE(load(u"sounds/beep.wav"));
    CEventAudioDriverRemoved removed;
    deliver(removed);
    const CContentKey key(manager.get(), u"sounds/beep.wav");
    EXPECT_EQ(manager->find(CSoundSource::kContentType, key), nullptr);
    EXPECT_FALSE(load(u"sounds/beep.wav")) << "no driver is held";

    CEventAudioDriverCreated created(reference(driver));
    deliver(created);
    EXPECT_TRUE(load(u"sounds/beep.wav"));
}

TEST_F(SoundProcessorTest, SoundPropertyValueLoadsThroughTheContentManager) {
    const CRefPointer<CPropertyDataSound> value(new CPropertyDataSound(manager.get()));
    value->fromString(CString("sounds/beep.wav"));
    ASSERT_TRUE(dynamic_cast<CSoundSource*>(value->getContent()));
    EXPECT_EQ(value->toString(), "sounds/beep.wav");
    value->fromString(CString("sounds/missing.wav"));
    EXPECT_EQ(value->getContent(), nullptr);
}
