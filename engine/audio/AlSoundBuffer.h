#pragma once

#include <AL/al.h>

#include "engine/audio/PcmSoundData.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"

class COpenALAudioDriver;

// The OpenAL format of a sample type; 0 for a type outside 1 to 4.
ALenum openALFormatOf(int32_t sampleType);

// An upload of samples into a buffer goes between these two: the first drops errors still
// pending from earlier calls, the second answers whether OpenAL took the samples and logs a
// refusal.
void clearAlErrors();
bool checkAlUpload();

// One pooled OpenAL buffer holding a whole decoded sound; copies of a static sound share it.
class CAlSoundBuffer : public CRefCounted {
public:
    // Takes a buffer from the driver's pool and uploads the sound; the buffer has no name when
    // the pool is empty or the sample type is unsupported.
    CAlSoundBuffer(CRefPointer<COpenALAudioDriver> driver, CRefPointer<CPcmSoundData> data);

    ALuint getName() const { return m_name; }

private:
    ~CAlSoundBuffer() override;

    CRefPointer<COpenALAudioDriver> m_driver;
    ALuint m_name = 0;
    // Kept only when OpenAL plays from our memory (the static upload).
    CRefPointer<CPcmSoundData> m_data;
};
