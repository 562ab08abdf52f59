#pragma once

#include <cstdint>

#include "engine/core/ContentKey.h"
#include "engine/io/Content.h"

// One sound file ready to play: the content of type 'isnd' that sound cues play.
class CSoundSource : public CContent {
public:
    static constexpr uint32_t kContentType = contentType("isnd");

    enum State : int32_t {
        kStopped = 0, // also without an OpenAL source
        kPaused = 1,
        kPlaying = 2,
    };

    explicit CSoundSource(const CContentKey& key) : CContent(key) {}

    uint32_t getContentType() const override { return kContentType; }

    virtual int32_t getState() const = 0;
    // False when the sound cannot play (no free OpenAL source, nothing to play).
    virtual bool play() = 0;
    virtual void stop() = 0;
    virtual void setPaused(bool paused) = 0;
    virtual float getVolume() const = 0;
    // The OpenAL gain.
    virtual void setVolume(float volume) = 0;
    virtual bool isLooping() const = 0;
    virtual void setLooping(bool looping) = 0;

protected:
    ~CSoundSource() override = default;
};
