#include "engine/io/QcaKeyStream.h"
#include "engine/io/VirtualFilesReaderZip.h"

#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/core/Utf.h"
#include "engine/io/DiskInputFile.h"

namespace {

// A zip of about 50 MB in a few thousand entries: stored noise, deflated noise and deflated
// text, written once by libzip and read by both readers.
class GeneratedZip {
public:
    GeneratedZip() {
        m_path = (std::filesystem::temp_directory_path() /
                  ("vantor-archive-bench-" + std::to_string(::getpid()) + ".zip"))
                     .string();
        write();
    }
    ~GeneratedZip() { std::filesystem::remove(m_path); }

    const std::string& path() const { return m_path; }
    uint64_t totalSize() const { return m_totalSize; }
    size_t largestEntry() const { return m_largestEntry; }

private:
    void write() {
        std::mt19937 random(5);
        std::vector<std::string> contents;
        const char* words[] = {"scene ",
                               "node ",
                               "<Property Name=\"x\" Value=\"1\"/>\n",
                               "sprite ",
                               "0.500000;1.000000 ",
                               "texture "};
        for (uint64_t packed = 0; packed < 50u << 20;) {
            const size_t size = 1024 + random() % (40 * 1024);
            std::string data;
            const bool text = contents.size() % 3 == 2;
            while (data.size() < size) {
                data += text ? words[random() % 6] : std::string(1, char(random()));
            }
            data.resize(size);
            packed += text ? size / 4 : size;
            m_totalSize += size;
            m_largestEntry = std::max(m_largestEntry, size);
            contents.push_back(std::move(data));
        }
        int error = 0;
        zip_t* archive = zip_open(m_path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        for (size_t i = 0; i < contents.size(); ++i) {
            zip_source_t* source =
                zip_source_buffer(archive, contents[i].data(), contents[i].size(), 0);
            const std::string name = "content/" + std::to_string(i % 40) + "/entry" +
                                     std::to_string(i) + (i % 3 == 2 ? ".xml" : ".bin");
            const zip_int64_t index = zip_file_add(archive, name.c_str(), source, 0);
            zip_set_file_compression(archive, uint64_t(index),
                                     i % 3 == 0 ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 6);
        }
        zip_close(archive);
    }

    std::string m_path;
    uint64_t m_totalSize = 0;
    size_t m_largestEntry = 0;
};

const GeneratedZip& generatedZip() {
    static const GeneratedZip zip;
    return zip;
}

void zipReadAllVantor(benchmark::State& state) {
    const GeneratedZip& zip = generatedZip();
    std::vector<uint8_t> buffer(zip.largestEntry());
    for (auto _ : state) {
        CRefPointer<IInputFile> file = createDiskInputFile(utf8ToUtf16(zip.path().c_str()));
        CRefPointer<IVirtualFilesReader> reader(new CVirtualFilesReaderZip(file.get()));
        uint64_t total = 0;
        for (uint32_t i = 0; i < reader->entryCount(); ++i) {
            CRefPointer<IInputFile> entry = reader->openEntryAt(i);
            total += uint64_t(entry->readBytes(buffer.data(), entry->getLength()));
        }
        if (total != zip.totalSize()) {
            state.SkipWithError("entries came out short");
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations() * zip.totalSize()));
}

void zipReadAllLibzip(benchmark::State& state) {
    const GeneratedZip& zip = generatedZip();
    std::vector<uint8_t> buffer(zip.largestEntry());
    for (auto _ : state) {
        int error = 0;
        zip_t* archive = zip_open(zip.path().c_str(), ZIP_RDONLY, &error);
        uint64_t total = 0;
        const zip_int64_t count = zip_get_num_entries(archive, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_file_t* entry = zip_fopen_index(archive, uint64_t(i), 0);
            for (zip_int64_t n; (n = zip_fread(entry, buffer.data(), buffer.size())) > 0;) {
                total += uint64_t(n);
            }
            zip_fclose(entry);
        }
        zip_close(archive);
        if (total != zip.totalSize()) {
            state.SkipWithError("entries came out short");
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations() * zip.totalSize()));
}

// The archive in memory with where each entry's data lies, taken from its central directory:
// what an in-memory inflate starts from.
struct ArchiveInMemory {
    struct Entry {
        uint32_t offset, packedSize, size;
        bool deflated;
    };
    std::vector<uint8_t> bytes;
    std::vector<Entry> entries;
};

uint32_t u32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t u16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

const ArchiveInMemory& archiveInMemory() {
    static const ArchiveInMemory archive = [] {
        ArchiveInMemory read;
        std::ifstream in(generatedZip().path(), std::ios::binary);
        read.bytes.assign(std::istreambuf_iterator<char>(in), {});
        const uint8_t* end = read.bytes.data() + read.bytes.size();
        const uint8_t* record = end - 22; // the end record, written without a comment
        const uint8_t* central = read.bytes.data() + u32(record + 16);
        for (uint16_t i = 0, count = u16(record + 10); i < count; ++i) {
            const uint8_t* local = read.bytes.data() + u32(central + 42);
            read.entries.push_back(
                {uint32_t(local - read.bytes.data()) + 30 + u16(local + 26) + u16(local + 28),
                 u32(central + 20), u32(central + 24), u16(central + 10) == 8});
            central += 46 + u16(central + 28) + u16(central + 30) + u16(central + 32);
        }
        return read;
    }();
    return archive;
}

// Every entry inflated (or copied, when stored) from the archive in memory into one buffer.
template <typename Inflate>
void zipInflateInMemory(benchmark::State& state, Inflate inflateEntry) {
    const ArchiveInMemory& archive = archiveInMemory();
    std::vector<uint8_t> buffer(generatedZip().largestEntry());
    for (auto _ : state) {
        uint64_t total = 0;
        for (const ArchiveInMemory::Entry& entry : archive.entries) {
            const uint8_t* data = archive.bytes.data() + entry.offset;
            if (entry.deflated) {
                total += inflateEntry(data, entry.packedSize, buffer.data(), entry.size);
            } else {
                std::memcpy(buffer.data(), data, entry.size);
                total += entry.size;
            }
        }
        if (total != generatedZip().totalSize()) {
            state.SkipWithError("entries came out short");
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations() * generatedZip().totalSize()));
}

void zipInflateZlib(benchmark::State& state) {
    z_stream stream = {};
    inflateInit2(&stream, -MAX_WBITS);
    zipInflateInMemory(
        state, [&](const uint8_t* in, uint32_t inSize, uint8_t* out, uint32_t outSize) {
            inflateReset(&stream);
            stream.next_in = const_cast<uint8_t*>(in);
            stream.avail_in = inSize;
            stream.next_out = out;
            stream.avail_out = outSize;
            return inflate(&stream, Z_FINISH) == Z_STREAM_END ? uint64_t(stream.total_out) : 0;
        });
    inflateEnd(&stream);
}

void zipInflateLibdeflate(benchmark::State& state) {
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    zipInflateInMemory(
        state, [&](const uint8_t* in, uint32_t inSize, uint8_t* out, uint32_t outSize) {
            return libdeflate_deflate_decompress(decompressor, in, inSize, out, outSize, nullptr) ==
                           LIBDEFLATE_SUCCESS
                       ? uint64_t(outSize)
                       : 0;
        });
    libdeflate_free_decompressor(decompressor);
}

// The bytes of an entry as the reader unscrambles them: in place, with the 60-character
// key, starting in the middle of the key.
void unscrambleVantor(benchmark::State& state, int64_t size) {
    std::vector<uint8_t> data(size_t(size), 0x5A);
    const CQcaKeyStream key("Kq7#vR2!mZ9@xL4$wT8%nB3^cJ6&hF1*pD5(gS0)yU-eA=iO+tG[uE]oW{rI");
    for (auto _ : state) {
        key.apply(data.data(), uint32_t(data.size()), 25);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
}

void unscrambleMemcpy(benchmark::State& state, int64_t size) {
    std::vector<uint8_t> source(size_t(size), 0x5A);
    std::vector<uint8_t> data(source.size());
    for (auto _ : state) {
        std::memcpy(data.data(), source.data(), data.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
}

void registerBenchmarks() {
    benchmark::RegisterBenchmark("ZipReadAll/vantor/50", zipReadAllVantor)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ZipReadAll/libzip/50", zipReadAllLibzip)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ZipReadAll/zlib-in-memory/50", zipInflateZlib)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ZipReadAll/libdeflate-in-memory/50", zipInflateLibdeflate)
        ->Unit(benchmark::kMillisecond);
    for (int64_t size : {4096, 65536, 1 << 20}) {
        std::string vantor = "Unscramble/vantor/";
        std::string memcpy = "Unscramble/memcpy/";
        vantor += std::to_string(size);
        memcpy += std::to_string(size);
        benchmark::RegisterBenchmark(vantor.c_str(), unscrambleVantor, size);
        benchmark::RegisterBenchmark(memcpy.c_str(), unscrambleMemcpy, size);
    }
}

const bool registered = (registerBenchmarks(), true);

} // namespace
