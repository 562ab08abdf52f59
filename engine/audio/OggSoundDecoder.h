#pragma once

#include <cstdint>

#include "engine/audio/SoundDecoder.h"
#include "engine/core/RefPointer.h"
#include "engine/io/IInputFile.h"

struct OggVorbis_File;

// Ogg Vorbis through vorbisfile, as 16-bit mono or stereo.
class COggSoundDecoder : public CSoundDecoder {
public:
    explicit COggSoundDecoder(CRefPointer<IInputFile> file);

    // The file opens as an Ogg Vorbis stream and tells its stream information.
    static bool isOggVorbis(IInputFile* file);

    bool rewind() override;
    // Stops at the end of the stream and at the first error vorbisfile reports.
    uint32_t read(void* destination, uint32_t frames) override;

private:
    ~COggSoundDecoder() override;

    CRefPointer<IInputFile> m_file;
    OggVorbis_File* m_stream;
    bool m_open = false;
};
