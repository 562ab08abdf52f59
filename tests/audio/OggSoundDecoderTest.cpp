#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "engine/audio/OggSoundLoader.h"
#include "tests/audio/SoundFixtures.h"

using namespace sounds;

namespace {

CRefPointer<CSoundDecoder> load(const char* fixtureName) {
    const CRefPointer<CMemoryBlockFile> input = file(fixture(fixtureName), fixtureName);
    return COggSoundLoader().load(input.get(), CContentKey());
}

} // namespace

TEST(OggSoundDecoderTest, DescribesTheStream) {
    struct Case {
        const char* fixture;
        uint32_t channels;
        uint32_t frequency;
        int32_t sampleType;
        uint32_t frames;
    };
    const Case cases[] = {
        {"mono-22050.ogg", 1, 22050, kSampleMono16, 22050},
        {"stereo-44100.ogg", 2, 44100, kSampleStereo16, 11025},
    };
    for (const Case& c : cases) {
        const CRefPointer<CSoundDecoder> decoder = load(c.fixture);
        ASSERT_TRUE(decoder) << c.fixture;
        EXPECT_EQ(decoder->getChannels(), c.channels) << c.fixture;
        EXPECT_EQ(decoder->getFrequency(), c.frequency) << c.fixture;
        EXPECT_EQ(decoder->getSampleType(), c.sampleType) << c.fixture;
        EXPECT_EQ(decoder->getTotalSamples(), c.frames) << c.fixture;
        EXPECT_EQ(decoder->getName(), c.fixture);
    }
}

TEST(OggSoundDecoderTest, RefusesMoreThanTwoChannelsAndOtherBytes) {
    EXPECT_FALSE(load("three-channels.ogg"));
    const COggSoundLoader loader;
    EXPECT_FALSE(loader.load(file(wave16(1, 8000, {1, 2}), "x.ogg").get(), CContentKey()));
    EXPECT_FALSE(loader.acceptsContent(file(wave16(1, 8000, {1, 2}), "x").get()));
    EXPECT_TRUE(loader.acceptsContent(file(fixture("mono-22050.ogg"), "x").get()));
    const Bytes ogg = fixture("mono-22050.ogg");
    EXPECT_FALSE(
        loader.load(file(Bytes(ogg.begin(), ogg.begin() + 20), "x.ogg").get(), CContentKey()));
}

TEST(OggSoundDecoderTest, ReadsToTheEndAndRewindsToTheFirstFrame) {
    const CRefPointer<CSoundDecoder> decoder = load("mono-22050.ogg");
    ASSERT_TRUE(decoder);
    std::vector<int16_t> first(22050 + 100);
    uint32_t total = 0;
    while (const uint32_t got = decoder->read(first.data() + total, 1000))
        total += got;
    EXPECT_EQ(total, 22050u);
    EXPECT_EQ(decoder->read(first.data(), 1000), 0u);
    // A 440 Hz tone at half volume: loud somewhere in the middle.
    int16_t peak = 0;
    for (uint32_t i = 0; i < total; ++i)
        peak = first[i] > peak ? first[i] : peak;
    EXPECT_GT(peak, 12000);

    ASSERT_TRUE(decoder->rewind());
    std::vector<int16_t> again(5000);
    ASSERT_EQ(decoder->read(again.data(), 5000), 5000u);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), first.begin()));
}
