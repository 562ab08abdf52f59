#pragma once

#include <cstdint>

#include "engine/audio/SoundDecoder.h"
#include "engine/core/RefCounted.h"
#include "engine/core/String.h"

// A whole decoded sound in memory; no data when decoding failed or the sound is too large.
class CPcmSoundData : public CRefCounted {
public:
    // Decoded sounds above this many bytes are refused rather than allocated.
    static constexpr uint64_t kMaxBytes = 256u << 20;

    // Reads the decoder from its first frame to its last.
    explicit CPcmSoundData(CSoundDecoder& decoder);

    const uint8_t* getData() const { return m_data; }
    uint32_t getByteCount() const {
        return m_totalSamples * bytesPerSample(m_sampleType) * m_channels;
    }
    const CString& getName() const { return m_name; }
    uint32_t getChannels() const { return m_channels; }
    uint32_t getFrequency() const { return m_frequency; }
    int32_t getSampleType() const { return m_sampleType; }
    uint32_t getTotalSamples() const { return m_totalSamples; }

private:
    ~CPcmSoundData() override;

    CString m_name;
    uint32_t m_channels = 0;
    uint32_t m_frequency = 0;
    int32_t m_sampleType = kSampleNone;
    uint32_t m_totalSamples = 0;
    uint8_t* m_data = nullptr;
};
