#pragma once

#include <cstdint>

#include "engine/audio/SoundSource.h"
#include "engine/core/ContentKey.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IInputFile.h"

// The audio driver that the device creates and registers as a receiver, and that the sound
// player and the sound content play through.
class IAudioDriver : public CEventReceiver {
public:
    // False suspends the audio context, true lets it process again.
    virtual void setProcessing(bool processing) = 0;
    virtual bool isProcessing() const = 0;
    // Decoded sounds of more bytes than this are streamed, the others uploaded whole: 0 streams
    // every sound, 0xFFFFFFFF none.
    virtual void setStreamingThreshold(uint32_t bytes) = 0;
    virtual uint32_t getStreamingThreshold() const = 0;
    // A source for the sound in the file, carrying key; none when it cannot be played.
    virtual CRefPointer<CSoundSource> createSound(IInputFile* file, const CContentKey& key) = 0;
    virtual CRefPointer<CSoundSource> createSoundFromPath(const CStringW& path,
                                                          const CContentKey& key) = 0;
    // For the log line that names the driver in use.
    virtual CString getName() const = 0;
};
