#pragma once

#include "engine/audio/IAudioDriver.h"
#include "engine/core/CreationParameters.h"
#include "engine/core/RefPointer.h"
#include "engine/io/IVirtualFileSystem.h"

class CSoundLoaderManager;

// The driver that plays nothing; the device starts with it and falls back to it.
class CNullAudioDriver : public IAudioDriver {
public:
    // The loader manager belongs to the engine services, which outlive every driver.
    CNullAudioDriver(const AudioParameters& parameters, CRefPointer<IVirtualFileSystem> fileSystem,
                     CSoundLoaderManager* soundLoaderManager);

    CString getName() const override { return CString("Null audio device"); }

protected:
    ~CNullAudioDriver() override = default;

    AudioParameters m_parameters;
    CRefPointer<IVirtualFileSystem> m_fileSystem;
    CSoundLoaderManager* m_soundLoaderManager;
};
