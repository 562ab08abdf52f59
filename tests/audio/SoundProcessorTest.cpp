#include "engine/audio/SoundProcessor.h"

#include <vector>

#include <gtest/gtest.h>

#include "engine/audio/StreamedSoundSource.h"
#include "engine/core/PropertyDataContent.h"
#include "tests/audio/SoundContentFixture.h"

namespace {

class SoundProcessorTest : public SoundContentFixture {
protected:
    SoundProcessorTest() {
        const sounds::Bytes beep = sounds::wave16(1, 8000, std::vector<int16_t>(800, 1000));
        writeFile("sounds/beep.wav", beep);
        writeFile("sounds/music.wav", beep);
    }
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
