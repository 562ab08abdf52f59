#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "engine/audio/WaveSoundDecoder.h"
#include "engine/audio/WaveSoundLoader.h"
#include "engine/audio/WaveSoundWriter.h"
#include "tests/audio/SoundFixtures.h"

using namespace sounds;

namespace {

CRefPointer<CSoundDecoder> load(const Bytes& bytes) {
    const CRefPointer<CMemoryBlockFile> input = file(bytes, "sound.wav");
    return CWaveSoundLoader().load(input.get(), CContentKey());
}

const Bytes kFourFrames = samples16({100, -200, 300, -400});

} // namespace

TEST(WaveSoundDecoderTest, ChunkWalkFindsFormatAndData) {
    struct Case {
        const char* what;
        Bytes file;
        int32_t sampleType; // 0: refused
        uint32_t frames;
    };
    const Bytes data = chunk("data", kFourFrames);
    const Case cases[] = {
        {"plain", riff({chunk("fmt ", pcmFormat(1, 8000, 16)), data}), kSampleMono16, 4},
        {"lower-case tags",
         riff({chunk("FMT ", pcmFormat(1, 8000, 16)), chunk("dAtA", kFourFrames)}, "riff", "wave"),
         kSampleMono16, 4},
        {"odd chunk before the format is padded",
         riff({chunk("junk", {1, 2, 3}), chunk("fmt ", pcmFormat(2, 8000, 8)), data}),
         kSampleStereo8, 4},
        {"format of 18 bytes", riff({chunk("fmt ", pcmFormat(2, 8000, 16, 18)), data}),
         kSampleStereo16, 2},
        {"format of 40 bytes", riff({chunk("fmt ", pcmFormat(1, 8000, 16, 40)), data}),
         kSampleMono16, 4},
        {"format longer than 40 bytes", riff({chunk("fmt ", pcmFormat(1, 8000, 16, 42)), data}), 0,
         0},
        {"format shorter than 16 bytes", riff({chunk("fmt ", pcmFormat(1, 8000, 16, 14)), data}), 0,
         0},
        {"extensible mono", riff({chunk("fmt ", extensibleFormat(1, 8000, 16, 4)), data}),
         kSampleMono16, 4},
        {"extensible stereo", riff({chunk("fmt ", extensibleFormat(2, 8000, 8, 3)), data}),
         kSampleStereo8, 4},
        {"extensible with another speaker layout",
         riff({chunk("fmt ", extensibleFormat(2, 8000, 16, 0x30)), data}), 0, 0},
        {"24-bit samples", riff({chunk("fmt ", pcmFormat(1, 8000, 24)), data}), 0, 0},
        {"32-bit samples", riff({chunk("fmt ", pcmFormat(1, 8000, 32)), data}), 0, 0},
        {"three channels", riff({chunk("fmt ", pcmFormat(3, 8000, 16)), data}), 0, 0},
        {"rate 0", riff({chunk("fmt ", pcmFormat(1, 0, 16)), data}), 0, 0},
        {"no data chunk", riff({chunk("fmt ", pcmFormat(1, 8000, 16))}), 0, 0},
        {"empty data chunk", riff({chunk("fmt ", pcmFormat(1, 8000, 16)), chunk("data", {})}), 0,
         0},
        {"no format chunk", riff({data}), 0, 0},
        {"not RIFF", riff({chunk("fmt ", pcmFormat(1, 8000, 16)), data}, "RIFX"), 0, 0},
        {"data cut short by the end of the file",
         riff({chunk("fmt ", pcmFormat(1, 8000, 16)), chunk("data", kFourFrames, 0x7FFFFFF0)}),
         kSampleMono16, 4},
    };
    for (const Case& c : cases) {
        const CRefPointer<CSoundDecoder> decoder = load(c.file);
        if (c.sampleType == 0) {
            EXPECT_FALSE(decoder) << c.what;
            continue;
        }
        ASSERT_TRUE(decoder) << c.what;
        EXPECT_EQ(decoder->getSampleType(), c.sampleType) << c.what;
        EXPECT_EQ(decoder->getTotalSamples(), c.frames) << c.what;
        EXPECT_EQ(decoder->getFrequency(), 8000u) << c.what;
        EXPECT_EQ(decoder->getName(), "sound.wav") << c.what;
    }
}

TEST(WaveSoundDecoderTest, ReadsStopAtTheEndOfTheDataChunkAndRewindStartsAgain) {
    // An odd data chunk: its pad byte and the chunk after it are no samples.
    const Bytes threeBytes = {0x10, 0x20, 0x30};
    const Bytes bytes = riff({chunk("fmt ", pcmFormat(1, 8000, 8)), chunk("data", threeBytes),
                              chunk("LIST", {9, 9, 9, 9, 9, 9})});
    const CRefPointer<CSoundDecoder> decoder = load(bytes);
    ASSERT_TRUE(decoder);
    EXPECT_EQ(decoder->getTotalSamples(), 3u);
    for (int pass = 0; pass < 2; ++pass) {
        uint8_t out[16] = {};
        EXPECT_EQ(decoder->read(out, 16), 3u) << pass;
        EXPECT_EQ(Bytes(out, out + 3), threeBytes) << pass;
        EXPECT_EQ(decoder->read(out, 16), 0u) << pass;
        EXPECT_TRUE(decoder->rewind());
    }
}

TEST(WaveSoundDecoderTest, ContentTestIsTheChunkWalk) {
    const CWaveSoundLoader loader;
    EXPECT_TRUE(loader.acceptsExtension(u"wav"));
    EXPECT_FALSE(loader.acceptsExtension(u"ogg"));
    EXPECT_TRUE(loader.acceptsContent(file(wave16(1, 8000, {1, 2}), "x").get()));
    EXPECT_FALSE(loader.acceptsContent(file(fixture("mono-22050.ogg"), "x").get()));
}

TEST(WaveSoundWriterTest, WrittenFileDecodesToTheSameSamples) {
    const std::vector<int16_t> values = {1, -1, 32767, -32768, 5, 6};
    const CRefPointer<CSoundDecoder> source = load(wave16(2, 22050, values));
    ASSERT_TRUE(source);
    Bytes written(200, 0);
    const CRefPointer<CMemoryBlockFile> output = file(written, "copy.wav");
    const CWaveSoundWriter writer;
    EXPECT_TRUE(writer.acceptsName(u"sounds/copy.wav"));
    EXPECT_FALSE(writer.acceptsName(u"copy.ogg"));
    ASSERT_TRUE(writer.write(output.get(), *source));
    const int32_t size = output->getPosition();
    output->seekTo(0, false);
    Bytes bytes(size_t(size), 0);
    output->readBytes(bytes.data(), size);
    EXPECT_EQ(bytes, wave16(2, 22050, values));
}
