#pragma once

#include <AL/al.h>

#include "engine/audio/AlSoundBuffer.h"
#include "engine/audio/SoundSource.h"
#include "engine/core/RefPointer.h"

class COpenALAudioDriver;

// A sound uploaded whole into one OpenAL buffer. It holds a pooled OpenAL source only while it
// plays or is paused, so up to the pool's size of static sounds play at once. The content
// manager caches it and hands out copies, which share the buffer.
class CStaticSoundSource : public CSoundSource {
public:
    CStaticSoundSource(const CContentKey& key, CRefPointer<COpenALAudioDriver> driver,
                       CRefPointer<CAlSoundBuffer> buffer);

    CRefPointer<CContent> makeCopy() const override;
    int32_t getState() const override;
    // False when the pool has no free source or the buffer holds nothing.
    bool play() override;
    // Gives the OpenAL source back to the pool.
    void stop() override;
    void setPaused(bool paused) override;
    float getVolume() const override { return m_volume; }
    void setVolume(float volume) override;
    bool isLooping() const override { return m_looping; }
    void setLooping(bool looping) override;

private:
    ~CStaticSoundSource() override;

    CRefPointer<COpenALAudioDriver> m_driver;
    CRefPointer<CAlSoundBuffer> m_buffer;
    ALuint m_source = 0;
    float m_volume = 1.0f;
    bool m_looping = false;
    float m_position[3] = {0.0f, 0.0f, 0.0f};
};
