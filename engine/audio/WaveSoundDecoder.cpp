#include "engine/audio/WaveSoundDecoder.h"

#include <cstring>
#include <utility>

#include "engine/io/LittleEndian.h"

namespace {

constexpr uint32_t kPlainFormatSize = 16;
constexpr uint32_t kExtensibleFormatSize = 40;
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kFrontCentre = 4;
constexpr uint32_t kFrontLeftAndRight = 3;

bool sameTag(const uint8_t* bytes, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        char ch = char(bytes[i]);
        if (ch >= 'A' && ch <= 'Z')
            ch = char(ch - 'A' + 'a');
        if (ch != tag[i])
            return false;
    }
    return true;
}

// Moves count bytes on; false when that leaves the file.
bool skip(IInputFile& file, int64_t count) {
    const int64_t target = int64_t(file.getPosition()) + count;
    if (target > file.getLength())
        return false;
    return file.seekTo(int32_t(target), false);
}

// A chunk shorter than the block it should hold keeps nothing.
void readFormat(const uint8_t* block, uint32_t size, WaveFormat& format) {
    const uint16_t tag = readU16(block);
    if (size < kPlainFormatSize || (tag != kFormatPcm && tag != kFormatExtensible))
        return;
    if (tag == kFormatExtensible && size < kExtensibleFormatSize)
        return;
    format.kind = tag == kFormatPcm ? 1 : 2;
    format.formatTag = tag;
    format.channels = readU16(block + 2);
    format.sampleRate = readU32(block + 4);
    format.byteRate = readU32(block + 8);
    format.blockAlign = readU16(block + 12);
    format.bitsPerSample = readU16(block + 14);
    if (format.kind == 2) {
        format.extensionSize = readU16(block + 16);
        format.validBits = readU16(block + 18);
        format.channelMask = readU32(block + 20);
        std::memcpy(format.subFormat, block + 24, sizeof(format.subFormat));
    }
}

// Only 8- and 16-bit mono and stereo; the extensible format also needs the plain speaker mask.
int32_t sampleTypeOf(const WaveFormat& format) {
    if (format.sampleRate == 0 || (format.bitsPerSample != 8 && format.bitsPerSample != 16))
        return kSampleNone;
    const bool wide = format.bitsPerSample == 16;
    if (format.channels == 1 && (format.kind == 1 || format.channelMask == kFrontCentre))
        return wide ? kSampleMono16 : kSampleMono8;
    if (format.channels == 2 && (format.kind == 1 || format.channelMask == kFrontLeftAndRight))
        return wide ? kSampleStereo16 : kSampleStereo8;
    return kSampleNone;
}

} // namespace

bool CWaveSoundDecoder::parse(IInputFile& file, WaveFormat& format) {
    format = WaveFormat();
    uint8_t header[12];
    if (file.readBytes(header, 12) != 12 || !sameTag(header, "riff") ||
        !sameTag(header + 8, "wave"))
        return false;
    uint8_t chunk[8];
    while (file.readBytes(chunk, 8) == 8) {
        const uint32_t size = readU32(chunk + 4);
        if (sameTag(chunk, "fmt ") && size <= kExtensibleFormatSize) {
            uint8_t block[kExtensibleFormatSize] = {};
            if (file.readBytes(block, int32_t(size)) != int32_t(size))
                break;
            readFormat(block, size, format);
        } else {
            if (sameTag(chunk, "data")) {
                format.dataSize = size;
                format.dataOffset = file.getPosition();
            }
            if (!skip(file, size))
                break;
        }
        if ((size & 1) != 0 && !skip(file, 1))
            break;
    }
    if (format.dataSize != 0 && format.dataOffset != 0 && format.kind != 0)
        return true;
    format = WaveFormat();
    return false;
}

CWaveSoundDecoder::CWaveSoundDecoder(CRefPointer<IInputFile> file) : m_file(std::move(file)) {
    if (!m_file || !parse(*m_file, m_format))
        return;
    m_channels = m_format.channels;
    m_frequency = m_format.sampleRate;
    m_sampleType = sampleTypeOf(m_format);
    if (m_sampleType == kSampleNone)
        return;
    // A data chunk cut short by the end of the file counts only the bytes present.
    const int64_t present = int64_t(m_file->getLength()) - m_format.dataOffset;
    const int64_t declared = m_format.dataSize;
    m_dataEnd = m_format.dataOffset + (declared < present ? declared : present);
    m_totalSamples = uint32_t((m_dataEnd - m_format.dataOffset) / getFrameBytes());
    m_name = CString(m_file->getName().c_str());
    rewind();
}

bool CWaveSoundDecoder::rewind() {
    return m_file && m_file->seekTo(m_format.dataOffset, false);
}

uint32_t CWaveSoundDecoder::read(void* destination, uint32_t frames) {
    if (!m_file || m_totalSamples == 0)
        return 0;
    const uint32_t frameBytes = getFrameBytes();
    const int64_t left = m_dataEnd - m_file->getPosition();
    if (left <= 0)
        return 0;
    const int64_t wanted = int64_t(frames) * frameBytes;
    const int64_t count = wanted < left ? wanted : left;
    const int32_t got = m_file->readBytes(destination, int32_t(count));
    return got > 0 ? uint32_t(got) / frameBytes : 0;
}
