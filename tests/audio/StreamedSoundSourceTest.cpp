#include <cstdint>
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
