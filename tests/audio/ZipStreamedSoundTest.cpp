#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/io/DiskInputFile.h"
#include "engine/io/VirtualFilesReaderZip.h"
#include "io/TempFolder.h"
#include "tests/audio/LoopbackDriver.h"

namespace {

std::string deflated(const std::string& data) {
    z_stream stream = {};
    deflateInit2(&stream, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, uLong(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// A zip of local headers only, which is all the reader needs: stored entries, and a deflated
// one when deflate is set.
class ZipWriter {
public:
    void add(const std::string& name, const std::string& data, bool deflate) {
        const std::string packed = deflate ? deflated(data) : data;
        sounds::Bytes header;
        sounds::putU32(header, 0x04034B50);
        sounds::putU16(header, 20);
        sounds::putU16(header, 0);
        sounds::putU16(header, deflate ? 8 : 0);
        sounds::putU32(header, 0);
        sounds::putU32(header, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()),
                                              uInt(data.size()))));
        sounds::putU32(header, uint32_t(packed.size()));
        sounds::putU32(header, uint32_t(data.size()));
        sounds::putU16(header, uint32_t(name.size()));
        sounds::putU16(header, 0);
        m_bytes.append(header.begin(), header.end());
        m_bytes += name + packed;
    }
    void write(const std::filesystem::path& path) const {
        std::ofstream(path, std::ios::binary) << m_bytes;
    }

private:
    std::string m_bytes;
};

// In small reads, as the decoders read.
std::string readAll(IInputFile& file) {
    std::string bytes;
    char buffer[256];
    for (int32_t n; (n = file.readBytes(buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, size_t(n));
    return bytes;
}

// Sounds streamed from an archive are refilled on the driver's thread while the game reads
// other entries of the same archive file on its own: neither may read at the other's offset.
TEST(ZipStreamedSoundTest, StreamsAndOtherEntriesReadTheirOwnBytes) {
    constexpr int16_t kSample = 1000;
    const sounds::Bytes music =
        sounds::wave16(1, loopback::kRate, std::vector<int16_t>(4 * loopback::kRate, kSample));
    // Read as samples, these bytes are loud: a stream that met them would be heard.
    const std::string loud(48 * 1024, '\x7F');
    std::string text;
    while (text.size() < 40000) {
        text += "<Property Name=\"x\" Value=\"" + std::to_string(text.size()) + "\"/>\n";
    }
    TempFolder folder;
    ZipWriter zip;
    zip.add("music.wav", std::string(music.begin(), music.end()), false);
    zip.add("loud.bin", loud, false);
    zip.add("text.xml", text, true);
    zip.write(folder.path() / "sounds.zip");
    const CRefPointer<IInputFile> archive = createDiskInputFile(folder.wide("sounds.zip"));
    ASSERT_TRUE(archive);
    const CRefPointer<IVirtualFilesReader> reader(new CVirtualFilesReaderZip(archive.get()));

    const CRefPointer<COpenALAudioDriver> driver = loopback::makeDriver(true);
    ASSERT_TRUE(driver);
    const float steady = 8 * kSample / 32768.0f * loopback::centreGain(*driver);
    std::vector<CRefPointer<CSoundSource>> sources;
    for (int i = 0; i < 8; ++i) {
        sources.push_back(
            driver->createSound(reader->openEntry(u"music.wav").get(), CContentKey()));
        ASSERT_TRUE(sources.back());
        sources.back()->setLooping(true);
        ASSERT_TRUE(sources.back()->play());
    }
    int damaged = 0;
    float loudest = 0.0f;
    for (int read = 0; read < 3000; ++read) {
        const bool stored = read % 2 == 0;
        const CRefPointer<IInputFile> entry = reader->openEntry(stored ? u"loud.bin" : u"text.xml");
        damaged += !entry || readAll(*entry) != (stored ? loud : text) ? 1 : 0;
        // Played faster than real time, the streams keep the driver's thread refilling; a
        // stream that runs dry starts again, out of step, but never louder than all together.
        loudest = std::max(loudest, loopback::peak(loopback::render(*driver, 2205), 0, 2205));
    }
    EXPECT_EQ(damaged, 0);
    EXPECT_LE(loudest, steady * 1.01f);
    EXPECT_GT(loudest, 0.0f);
}

} // namespace
