#pragma once

#include "engine/audio/ISoundLoader.h"
#include "engine/audio/ISoundWriter.h"
#include "engine/core/Array.h"
#include "engine/core/ContentKey.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/RefPointer.h"
#include "engine/io/IInputFile.h"

// Picks the decoder for a sound file: the WAVE loader, then the Ogg loader, first by the file's
// extension and then by its content. Also keeps the WAVE writer.
class CSoundLoaderManager : public CEventReceiver {
public:
    CSoundLoaderManager();

    // A decoder with at least one frame, or none when no loader takes the file.
    CRefPointer<CSoundDecoder> loadSound(IInputFile* file, const CContentKey& key) const;

protected:
    ~CSoundLoaderManager() override = default;

private:
    CArray<CRefPointer<ISoundLoader>> m_loaders;
    CArray<CRefPointer<ISoundWriter>> m_writers;
};
