#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "engine/audio/StreamedSoundSource.h"
#include "tests/audio/LoopbackDriver.h"

namespace {

// Gives frames once; after a rewind it has nothing more, as a stream that breaks while it
// loops.
class DrainingDecoder : public CSoundDecoder {
public:
    DrainingDecoder() {
        m_channels = 1;
        m_frequency = loopback::kRate;
        m_sampleType = kSampleMono16;
        m_totalSamples = 100;
    }

    bool rewind() override {
        ++m_rewinds;
        return true;
    }

    uint32_t read(void* destination, uint32_t frames) override {
        if (m_rewinds > 1 || m_given)
            return 0;
        m_given = true;
        const uint32_t count = frames < 100 ? frames : 100;
        auto* out = static_cast<int16_t*>(destination);
        for (uint32_t i = 0; i < count; ++i)
            out[i] = 4000;
        return count;
    }

private:
    ~DrainingDecoder() override = default;

    int m_rewinds = 0;
    bool m_given = false;
};

} // namespace

TEST(StreamedSoundSourceTest, LoopingStreamWhoseDecoderRunsDryEnds) {
    const CRefPointer<COpenALAudioDriver> driver = loopback::makeDriver();
    ASSERT_TRUE(driver);
    const CRefPointer<CStreamedSoundSource> source(new CStreamedSoundSource(
        CContentKey(), driver, CRefPointer<CSoundDecoder>(new DrainingDecoder()), 22050));
    source->setLooping(true);
    ASSERT_TRUE(source->play());
    const std::vector<float> out = loopback::play(*driver, 5000);
    EXPECT_GT(loopback::peak(out, 0, 100), 0.0f);
    EXPECT_EQ(loopback::peak(out, 100, out.size()), 0.0f);
    EXPECT_EQ(source->getState(), CSoundSource::kStopped);
}

// Sources are made, played, changed and destroyed on this thread while the driver's own thread
// refills them; a source must leave the driver's lists before it is gone.
TEST(StreamedSoundSourceThreadTest, DestroyedWhileTheUpdateThreadRuns) {
    const CRefPointer<COpenALAudioDriver> driver = loopback::makeDriver(true);
    ASSERT_TRUE(driver);
    driver->setStreamingThreshold(0);
    const sounds::Bytes sound =
        sounds::wave16(1, loopback::kRate, std::vector<int16_t>(30000, 900));
    for (int round = 0; round < 6; ++round) {
        std::vector<CRefPointer<CSoundSource>> sources;
        for (int i = 0; i < 8; ++i) {
            sources.push_back(
                driver->createSound(sounds::file(sound, "s.wav").get(), CContentKey()));
            ASSERT_TRUE(sources.back());
            sources.back()->setLooping(i % 2 == 0);
            ASSERT_TRUE(sources.back()->play());
        }
        for (int step = 0; step < 8; ++step) {
            loopback::render(*driver, 4410);
            sources[size_t(step)]->setVolume(0.5f);
            sources[size_t(step)]->setPaused(step % 3 == 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            sources[size_t(step)].reset();
        }
    }
    // Two more update periods, with nothing left to refill.
    std::this_thread::sleep_for(std::chrono::milliseconds(2 * COpenALAudioDriver::kUpdatePeriodMs));
    EXPECT_EQ(loopback::peak(loopback::render(*driver, 100), 0, 100), 0.0f);
}
