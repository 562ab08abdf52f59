#include <string>

#include <gtest/gtest.h>

#include "engine/audio/SoundLoaderManager.h"
#include "tests/audio/SoundFixtures.h"

using namespace sounds;

TEST(SoundLoaderManagerTest, FindsTheDecoderByExtensionThenByContent) {
    const Bytes ogg = fixture("mono-22050.ogg");
    const Bytes wav = wave16(2, 8000, {1, 2, 3, 4});
    struct Case {
        std::string name;
        const Bytes& bytes;
        int32_t sampleType; // 0: none
    };
    const Case cases[] = {
        {"music/TUNE.OGG", ogg, kSampleMono16},
        {"ogg-named.wav", ogg, kSampleMono16},
        {"wave-named.ogg", wav, kSampleStereo16},
        {"no-extension", wav, kSampleStereo16},
        {"dir.ogg/no-extension", ogg, kSampleMono16},
        {"junk.wav", Bytes(64, 7), 0},
        {"empty.ogg", Bytes(), 0},
    };
    const CRefPointer<CSoundLoaderManager> manager(new CSoundLoaderManager());
    for (const Case& c : cases) {
        const CRefPointer<CMemoryBlockFile> input = file(c.bytes, c.name);
        // Loaders see the file from its start even when it was read before.
        input->seekTo(int32_t(c.bytes.size() / 2), false);
        const CRefPointer<CSoundDecoder> decoder = manager->loadSound(input.get(), CContentKey());
        if (c.sampleType == 0) {
            EXPECT_FALSE(decoder) << c.name;
            continue;
        }
        ASSERT_TRUE(decoder) << c.name;
        EXPECT_EQ(decoder->getSampleType(), c.sampleType) << c.name;
    }
    EXPECT_FALSE(manager->loadSound(nullptr, CContentKey()));
}
