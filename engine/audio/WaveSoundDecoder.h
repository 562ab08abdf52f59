#pragma once

#include <cstdint>

#include "engine/audio/SoundDecoder.h"
#include "engine/core/RefPointer.h"
#include "engine/io/IInputFile.h"

// What the RIFF/WAVE chunk walk keeps of a file.
struct WaveFormat {
    // 0 none, 1 plain PCM, 2 the extensible format.
    int32_t kind = 0;
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t byteRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extensionSize = 0;
    uint16_t validBits = 0;
    uint32_t channelMask = 0;
    uint8_t subFormat[16] = {};
    // Bytes of the "data" chunk as its header gives them, and the file position of its first.
    uint32_t dataSize = 0;
    int32_t dataOffset = 0;
};

// Uncompressed 8- and 16-bit PCM from a RIFF/WAVE file; reads stop at the end of the data chunk.
class CWaveSoundDecoder : public CSoundDecoder {
public:
    explicit CWaveSoundDecoder(CRefPointer<IInputFile> file);

    // Walks the chunks from the file's current position; false, with a cleared format, when
    // there is no usable "fmt " and "data" chunk.
    static bool parse(IInputFile& file, WaveFormat& format);

    bool rewind() override;
    uint32_t read(void* destination, uint32_t frames) override;

private:
    ~CWaveSoundDecoder() override = default;

    CRefPointer<IInputFile> m_file;
    WaveFormat m_format;
    // The end of the sample bytes: the data chunk's end, or the file's when it is cut short.
    int64_t m_dataEnd = 0;
};
