#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/MemoryBlockFile.h"

// Sound files for the audio tests: the Ogg files of tests/audio/fixtures (make-fixtures.sh) and
// RIFF/WAVE files assembled here chunk by chunk.
namespace sounds {

using Bytes = std::vector<uint8_t>;

inline Bytes fixture(const std::string& name) {
    std::ifstream in(std::filesystem::path(VANTOR_SOURCE_DIR) / "tests" / "audio" / "fixtures" /
                         name,
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A memory file holding a copy of bytes, under the given name.
inline CRefPointer<CMemoryBlockFile> file(const Bytes& bytes, const std::string& name) {
    auto* data = new uint8_t[bytes.size() + 1];
    if (!bytes.empty())
        std::memcpy(data, bytes.data(), bytes.size());
    return CRefPointer<CMemoryBlockFile>(
        new CMemoryBlockFile(data, int32_t(bytes.size()), CStringW(name.c_str()), true));
}

inline void putU16(Bytes& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

inline void putU32(Bytes& out, uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

// A chunk: its tag, the size its header states and its body, followed by the pad byte of an odd
// body.
inline Bytes chunk(const char* tag, const Bytes& body, uint32_t statedSize) {
    Bytes out(tag, tag + 4);
    putU32(out, statedSize);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0)
        out.push_back(0);
    return out;
}

inline Bytes chunk(const char* tag, const Bytes& body) {
    return chunk(tag, body, uint32_t(body.size()));
}

// A "fmt " body of the plain PCM kind, padded with zeros to size bytes (16 or more), or cut
// to it.
inline Bytes pcmFormat(uint32_t channels, uint32_t rate, uint32_t bits, uint32_t size = 16) {
    Bytes out;
    putU16(out, 1);
    putU16(out, channels);
    putU32(out, rate);
    putU32(out, rate * channels * bits / 8);
    putU16(out, channels * bits / 8);
    putU16(out, bits);
    out.resize(size, 0);
    return out;
}

// A "fmt " body of the extensible kind (40 bytes) with the given speaker mask.
inline Bytes extensibleFormat(uint32_t channels, uint32_t rate, uint32_t bits, uint32_t mask) {
    Bytes out = pcmFormat(channels, rate, bits);
    out[0] = 0xFE;
    out[1] = 0xFF;
    putU16(out, 22);
    putU16(out, bits);
    putU32(out, mask);
    out.resize(40, 0);
    return out;
}

inline Bytes riff(std::initializer_list<Bytes> chunks, const char* riffTag = "RIFF",
                  const char* waveTag = "WAVE") {
    Bytes body(waveTag, waveTag + 4);
    for (const Bytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    Bytes out(riffTag, riffTag + 4);
    putU32(out, uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

inline Bytes samples16(const std::vector<int16_t>& values) {
    Bytes out;
    for (const int16_t v : values)
        putU16(out, uint16_t(v));
    return out;
}

// A 16-bit WAVE file of the given frames (channels interleaved).
inline Bytes wave16(uint32_t channels, uint32_t rate, const std::vector<int16_t>& values) {
    return riff({chunk("fmt ", pcmFormat(channels, rate, 16)), chunk("data", samples16(values))});
}

} // namespace sounds
