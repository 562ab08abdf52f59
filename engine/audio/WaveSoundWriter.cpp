#include "engine/audio/WaveSoundWriter.h"

#include <cstdint>

namespace {

constexpr uint32_t kBlockBytes = 4096;
constexpr uint32_t kHeaderBytes = 36;

void putU16(uint8_t* out, uint32_t value) {
    out[0] = uint8_t(value);
    out[1] = uint8_t(value >> 8);
}

void putU32(uint8_t* out, uint32_t value) {
    putU16(out, value);
    putU16(out + 2, value >> 16);
}

void putTag(uint8_t* out, const char* tag) {
    for (int i = 0; i < 4; ++i)
        out[i] = uint8_t(tag[i]);
}

} // namespace

bool CWaveSoundWriter::acceptsName(const CStringW& name) const {
    return name.find(".wav") >= 0;
}

bool CWaveSoundWriter::write(IOutputFile* file, CSoundDecoder& decoder) const {
    const uint32_t sampleBytes = bytesPerSample(decoder.getSampleType());
    const uint32_t frameBytes = decoder.getFrameBytes();
    const uint64_t dataBytes = decoder.getTotalBytes();
    if (!file || frameBytes == 0 || frameBytes > kBlockBytes ||
        dataBytes > UINT32_MAX - kHeaderBytes)
        return false;
    uint8_t header[44];
    putTag(header, "RIFF");
    putU32(header + 4, uint32_t(dataBytes) + kHeaderBytes);
    putTag(header + 8, "WAVE");
    putTag(header + 12, "fmt ");
    putU32(header + 16, 16);
    putU16(header + 20, 1);
    putU16(header + 22, decoder.getChannels());
    putU32(header + 24, decoder.getFrequency());
    putU32(header + 28, sampleBytes * decoder.getFrequency() * decoder.getChannels());
    putU16(header + 32, frameBytes);
    putU16(header + 34, sampleBytes * 8);
    putTag(header + 36, "data");
    putU32(header + 40, uint32_t(dataBytes));
    if (file->writeBytes(header, 44) != 44)
        return false;
    uint8_t block[kBlockBytes];
    while (const uint32_t frames = decoder.read(block, kBlockBytes / frameBytes)) {
        const int32_t bytes = int32_t(frames * frameBytes);
        if (file->writeBytes(block, bytes) != bytes)
            return false;
    }
    return true;
}
