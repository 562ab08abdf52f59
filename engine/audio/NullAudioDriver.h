#pragma once

#include <cstdint>

#include "engine/audio/IAudioDriver.h"
#include "engine/audio/SoundLoaderManager.h"
#include "engine/core/CreationParameters.h"
#include "engine/core/RefPointer.h"
#include "engine/io/IVirtualFileSystem.h"

// The driver that plays nothing; the device starts with it and falls back to it. The OpenAL
// driver builds on it.
class CNullAudioDriver : public IAudioDriver {
public:
    static constexpr uint32_t kDefaultStreamingThreshold = 0x40000;

    CNullAudioDriver(const AudioParameters& parameters, CRefPointer<IVirtualFileSystem> fileSystem,
                     CSoundLoaderManager* soundLoaderManager);

    // Update events reach update; the event travels on.
    bool OnEvent(CEvent& event) override;

    void setProcessing(bool) override {}
    bool isProcessing() const override { return false; }
    void setStreamingThreshold(uint32_t bytes) override { m_streamingThreshold = bytes; }
    uint32_t getStreamingThreshold() const override { return m_streamingThreshold; }
    CRefPointer<CSoundSource> createSound(IInputFile*, const CContentKey&) override {
        return nullptr;
    }
    // Opens the path through the file system and creates the sound from it.
    CRefPointer<CSoundSource> createSoundFromPath(const CStringW& path,
                                                  const CContentKey& key) override;
    CString getName() const override { return CString("Null audio device"); }
    // Called on every update event; false.
    virtual bool update(CEvent& event);

    static const EventMap& getEventMap();

protected:
    ~CNullAudioDriver() override = default;

    AudioParameters m_parameters;
    CRefPointer<IVirtualFileSystem> m_fileSystem;
    CRefPointer<CSoundLoaderManager> m_soundLoaderManager;
    uint32_t m_streamingThreshold = kDefaultStreamingThreshold;
};
