#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/core/String.h"

// Sample types of decoded sound.
enum SoundSampleType : int32_t {
    kSampleNone = 0,
    kSampleMono8 = 1,
    kSampleStereo8 = 2,
    kSampleMono16 = 3,
    kSampleStereo16 = 4,
};

// 1 for the 8-bit types, 2 for the 16-bit ones, 0 for anything else.
uint32_t bytesPerSample(int32_t sampleType);

// Turns a sound file into PCM sample frames on request. Loaders never hand out a decoder with
// no frames.
class CSoundDecoder : public CRefCounted {
public:
    // Back to the first frame.
    virtual bool rewind() { return true; }
    // Reads up to frames frames into destination; the frames read.
    virtual uint32_t read(void* destination, uint32_t frames);

    const CString& getName() const { return m_name; }
    uint32_t getChannels() const { return m_channels; }
    uint32_t getFrequency() const { return m_frequency; }
    int32_t getSampleType() const { return m_sampleType; }
    uint32_t getTotalSamples() const { return m_totalSamples; }
    // Bytes of one frame: bytes per sample x channels.
    uint32_t getFrameBytes() const { return bytesPerSample(m_sampleType) * m_channels; }
    // Bytes of the whole decoded sound, in 64 bits so that no header can make it wrap.
    uint64_t getTotalBytes() const { return uint64_t(getFrameBytes()) * m_totalSamples; }

protected:
    ~CSoundDecoder() override = default;

    CString m_name;
    uint32_t m_channels = 0;
    uint32_t m_frequency = 0;
    int32_t m_sampleType = kSampleNone;
    uint32_t m_totalSamples = 0;
};
