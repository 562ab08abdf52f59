#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/audio/StreamedSoundSource.h"
#include "tests/audio/LoopbackDriver.h"

using namespace sounds;

namespace {

// Mono 16-bit samples at the device rate: frame i is value(i).
template <typename Value>
Bytes monoWave(uint32_t frames, Value value) {
    std::vector<int16_t> values(frames);
    for (uint32_t i = 0; i < frames; ++i)
        values[i] = int16_t(value(i));
    return wave16(1, loopback::kRate, values);
}

CRefPointer<CSoundSource> createSound(COpenALAudioDriver& driver, const Bytes& bytes) {
    return driver.createSound(file(bytes, "sound.wav").get(), CContentKey());
}

bool isStreamed(const CSoundSource& source) {
    return dynamic_cast<const CStreamedSoundSource*>(&source) != nullptr;
}

class OpenALAudioDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        driver = loopback::makeDriver();
        ASSERT_TRUE(driver);
    }

    CRefPointer<COpenALAudioDriver> driver;
};

} // namespace

TEST_F(OpenALAudioDriverTest, StaticSoundsShareTheirBufferAndDrawSourcesFromThePool) {
    EXPECT_EQ(driver->getSourceCount(), COpenALAudioDriver::kMaxSources);
    EXPECT_EQ(driver->getBufferCount(), COpenALAudioDriver::kMaxBuffers);
    const CRefPointer<CSoundSource> original =
        createSound(*driver, monoWave(4410, [](uint32_t) { return 1000; }));
    ASSERT_TRUE(original);
    ASSERT_FALSE(isStreamed(*original));
    std::vector<CRefPointer<CContent>> copies;
    for (uint32_t i = 0; i < COpenALAudioDriver::kMaxSources; ++i) {
        copies.push_back(original->makeCopy());
        ASSERT_TRUE(static_cast<CSoundSource*>(copies.back().get())->play()) << i;
    }
    EXPECT_FALSE(original->play()) << "the pool is empty";
    // All copies sound together from one buffer: 64 times one copy's level.
    const float level = loopback::render(*driver, 1)[0];
    static_cast<CSoundSource*>(copies[0].get())->stop();
    EXPECT_EQ(static_cast<CSoundSource*>(copies[0].get())->getState(), CSoundSource::kStopped);
    EXPECT_EQ(static_cast<CSoundSource*>(copies[1].get())->getState(), CSoundSource::kPlaying);
    EXPECT_NEAR(loopback::render(*driver, 1)[0], level * 63 / 64, level * 1e-4);
    EXPECT_TRUE(original->play()) << "the stopped copy gave its source back";
    EXPECT_FALSE(copies[0]->makeCopy() == nullptr);
}

TEST_F(OpenALAudioDriverTest, ThresholdDecidesBetweenUploadAndStream) {
    // 100 frames of 16-bit mono: 200 bytes.
    const Bytes sound = monoWave(100, [](uint32_t i) { return i; });
    struct Case {
        uint32_t threshold;
        bool streamed;
    };
    const Case cases[] = {{0, true}, {199, true}, {200, false}, {0xFFFFFFFFu, false}};
    for (const Case& c : cases) {
        driver->setStreamingThreshold(c.threshold);
        const CRefPointer<CSoundSource> source = createSound(*driver, sound);
        ASSERT_TRUE(source) << c.threshold;
        EXPECT_EQ(isStreamed(*source), c.streamed) << c.threshold;
        EXPECT_EQ(source->getHandOutMode(), c.streamed ? CContent::kNeverCached : 0u);
    }
}

TEST_F(OpenALAudioDriverTest, RefusesWhatDoesNotDecode) {
    EXPECT_FALSE(createSound(*driver, Bytes(100, 1)));
    EXPECT_FALSE(driver->createSound(nullptr, CContentKey()));
    EXPECT_FALSE(driver->createSoundFromPath(u"missing.wav", CContentKey()));
}

TEST_F(OpenALAudioDriverTest, StaticSoundPlaysItsSamplesAtItsVolume) {
    const float gain = loopback::centreGain(*driver);
    const CRefPointer<CSoundSource> source =
        createSound(*driver, monoWave(300, [](uint32_t i) { return int(i) * 100 - 15000; }));
    source->setVolume(0.5f);
    ASSERT_TRUE(source->play());
    const std::vector<float> out = loopback::render(*driver, 400);
    for (uint32_t i = 0; i < 300; ++i)
        ASSERT_NEAR(out[i], 0.5f * gain * (int(i) * 100 - 15000) / 32768.0f, 1e-4f) << i;
    EXPECT_EQ(loopback::peak(out, 300, 400), 0.0f);
    EXPECT_EQ(source->getState(), CSoundSource::kStopped);
}

// 30000 frames is no multiple of the 22050 frames of a stream buffer, so the wrap falls inside
// a buffer.
TEST_F(OpenALAudioDriverTest, LoopingStreamWrapsWithoutAGap) {
    const float gain = loopback::centreGain(*driver);
    constexpr uint32_t kFrames = 30000;
    auto value = [](uint32_t i) { return int(i % 1000) * 30 - 15000; };
    driver->setStreamingThreshold(0);
    const CRefPointer<CSoundSource> source = createSound(*driver, monoWave(kFrames, value));
    ASSERT_TRUE(isStreamed(*source));
    source->setLooping(true);
    ASSERT_TRUE(source->play());
    const std::vector<float> out = loopback::play(*driver, kFrames * 4 + 1000);
    for (uint32_t t = 0; t < out.size(); ++t)
        ASSERT_NEAR(out[t], gain * value(t % kFrames) / 32768.0f, 1e-4f) << t;
    EXPECT_EQ(source->getState(), CSoundSource::kPlaying);
}

TEST_F(OpenALAudioDriverTest, StreamThatEndsReportsPlayingUntilItsLastBufferHasPlayed) {
    constexpr uint32_t kFrames = 50000;
    driver->setStreamingThreshold(0);
    const CRefPointer<CSoundSource> source =
        createSound(*driver, monoWave(kFrames, [](uint32_t) { return 8000; }));
    ASSERT_TRUE(source->play());
    const std::vector<float> heard = loopback::play(*driver, kFrames - 100);
    EXPECT_EQ(source->getState(), CSoundSource::kPlaying);
    EXPECT_GT(loopback::peak(heard, kFrames - 200, kFrames - 100), 0.0f);
    const std::vector<float> after = loopback::play(*driver, 20000);
    EXPECT_GT(loopback::peak(after, 0, 100), 0.0f);
    EXPECT_EQ(loopback::peak(after, 100, after.size()), 0.0f);
    EXPECT_EQ(source->getState(), CSoundSource::kStopped);
    // It plays again from the start.
    ASSERT_TRUE(source->play());
    EXPECT_GT(loopback::peak(loopback::play(*driver, 100), 0, 100), 0.0f);
}

TEST_F(OpenALAudioDriverTest, StreamPausedBeforeTheFirstUpdateStaysSilent) {
    driver->setStreamingThreshold(0);
    const CRefPointer<CSoundSource> source =
        createSound(*driver, monoWave(40000, [](uint32_t) { return 8000; }));
    ASSERT_TRUE(source->play());
    source->setPaused(true);
    EXPECT_EQ(loopback::peak(loopback::play(*driver, 10000), 0, 10000), 0.0f);
    EXPECT_EQ(source->getState(), CSoundSource::kPaused);
    source->setPaused(false);
    EXPECT_GT(loopback::peak(loopback::play(*driver, 100), 0, 100), 0.0f);
    EXPECT_EQ(source->getState(), CSoundSource::kPlaying);
}

TEST_F(OpenALAudioDriverTest, SoundsMadeWhileTheBufferPoolIsShortStaySilent) {
    std::vector<ALuint> taken(COpenALAudioDriver::kMaxBuffers - 3);
    ASSERT_TRUE(driver->takeFreeBuffers(uint32_t(taken.size()), taken.data()));
    const Bytes sound = monoWave(40000, [](uint32_t) { return 8000; });
    driver->setStreamingThreshold(0);
    const CRefPointer<CSoundSource> streamed = createSound(*driver, sound);
    ASSERT_TRUE(streamed->play());
    ALuint lastThree[3];
    ASSERT_TRUE(driver->takeFreeBuffers(3, lastThree));
    driver->setStreamingThreshold(0xFFFFFFFFu);
    const CRefPointer<CSoundSource> uploaded = createSound(*driver, sound);
    ASSERT_TRUE(uploaded);
    EXPECT_FALSE(uploaded->play()) << "its buffer got no OpenAL name";
    EXPECT_EQ(loopback::peak(loopback::play(*driver, 5000), 0, 5000), 0.0f);
    EXPECT_EQ(streamed->getState(), CSoundSource::kStopped);
    driver->returnBuffers(uint32_t(taken.size()), taken.data());
    driver->returnBuffers(3, lastThree);
}

// A sample rate OpenAL refuses: the static upload and every stream refill say so, and nothing
// plays, not even what a stream buffer held before.
TEST_F(OpenALAudioDriverTest, UploadsThatOpenALRefusesAreLoggedAndStaySilent) {
    const Bytes sound = wave16(1, 0x80000000u, std::vector<int16_t>(4000, 8000));
    for (const uint32_t threshold : {0xFFFFFFFFu, 0u}) {
        driver->setStreamingThreshold(threshold);
        CRefPointer<CSoundSource> source;
        std::vector<float> heard;
        testing::internal::CaptureStdout();
        source = createSound(*driver, sound);
        if (source && source->play())
            heard = loopback::play(*driver, 5000);
        const std::string log = testing::internal::GetCapturedStdout();
        ASSERT_TRUE(source) << threshold;
        EXPECT_NE(log.find("ERR: Could not upload OpenAL buffer"), std::string::npos) << log;
        EXPECT_EQ(loopback::peak(heard, 0, heard.size()), 0.0f) << threshold;
    }
}

TEST(OpenALAudioDriverSystemTest, FallsBackToTheDefaultDeviceAndNamesIt) {
    const CRefPointer<CSoundLoaderManager> loaders(new CSoundLoaderManager());
    AudioParameters parameters;
    parameters.driverType = 1;
    ::testing::internal::CaptureStdout();
    const CRefPointer<IAudioDriver> driver =
        createOpenALAudioDriver(parameters, nullptr, loaders.get());
    const std::string log = ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(driver);
    EXPECT_NE(log.find("Failed to open the OpenAL \"Generic Software\" audio device"),
              std::string::npos);
    const std::string name = driver->getName().c_str();
    EXPECT_EQ(name.rfind("OpenAL\r Device: ", 0), 0u) << name;
    EXPECT_EQ(name.back(), '\r');
    EXPECT_TRUE(driver->isProcessing());
}
