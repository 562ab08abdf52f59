#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "engine/audio/StreamedSoundSource.h"
#include "tests/audio/LoopbackDriver.h"

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
            ASSERT_TRUE(sources.back()->play());
        }
        // Changes while the thread may be filling: each waits for the stream lock.
        for (int step = 0; step < 40; ++step) {
            CSoundSource& source = *sources[size_t(step % 8)];
            source.setLooping(step % 2 == 0);
            source.setPaused(step % 3 == 0);
            source.setVolume(0.5f);
            source.getState();
            loopback::render(*driver, 2205);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        for (CRefPointer<CSoundSource>& source : sources) {
            loopback::render(*driver, 4410);
            source.reset();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    // Two more update periods, with nothing left to refill.
    std::this_thread::sleep_for(std::chrono::milliseconds(2 * COpenALAudioDriver::kUpdatePeriodMs));
    EXPECT_EQ(loopback::peak(loopback::render(*driver, 100), 0, 100), 0.0f);
}
