#include <benchmark/benchmark.h>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/audio/OggSoundDecoder.h"
#include "engine/audio/OpenALAudioDriver.h"
#include "engine/audio/SoundLoaderManager.h"
#include "engine/io/MemoryBlockFile.h"

namespace {

constexpr int kRate = 44100;
constexpr int kSeconds = 60;

void writePages(ogg_stream_state& stream, std::vector<uint8_t>& out, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    }
}

// 60 s of stereo music-like sound (two tones and a little noise), encoded with libvorbisenc.
const std::vector<uint8_t>& oggBytes() {
    static const std::vector<uint8_t> bytes = [] {
        std::vector<uint8_t> out;
        vorbis_info info;
        vorbis_info_init(&info);
        vorbis_encode_init_vbr(&info, 2, kRate, 0.4f);
        vorbis_comment comment;
        vorbis_comment_init(&comment);
        vorbis_dsp_state dsp;
        vorbis_analysis_init(&dsp, &info);
        vorbis_block block;
        vorbis_block_init(&dsp, &block);
        ogg_stream_state stream;
        ogg_stream_init(&stream, 7);
        ogg_packet header, commentPacket, codePacket;
        vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codePacket);
        ogg_stream_packetin(&stream, &header);
        ogg_stream_packetin(&stream, &commentPacket);
        ogg_stream_packetin(&stream, &codePacket);
        writePages(stream, out, true);
        uint32_t noise = 1;
        for (int done = 0; done <= kRate * kSeconds;) {
            const int count = done == kRate * kSeconds ? 0 : 4096;
            if (count > 0) {
                float** channels = vorbis_analysis_buffer(&dsp, count);
                for (int i = 0; i < count; ++i) {
                    const double t = double(done + i) / kRate;
                    noise = noise * 1664525u + 1013904223u;
                    const float hiss = float(int32_t(noise >> 16) - 32768) / 32768.0f * 0.02f;
                    channels[0][i] = float(0.3 * std::sin(2 * M_PI * 220 * t)) + hiss;
                    channels[1][i] = float(0.3 * std::sin(2 * M_PI * 330 * t)) - hiss;
                }
            }
            vorbis_analysis_wrote(&dsp, count);
            done += count == 0 ? 1 : count;
            while (vorbis_analysis_blockout(&dsp, &block) == 1) {
                vorbis_analysis(&block, nullptr);
                vorbis_bitrate_addblock(&block);
                ogg_packet packet;
                while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                    ogg_stream_packetin(&stream, &packet);
                    writePages(stream, out, false);
                }
            }
        }
        writePages(stream, out, true);
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
        return out;
    }();
    return bytes;
}

CRefPointer<IInputFile> memoryFile(const std::vector<uint8_t>& bytes, const char16_t* name) {
    return CRefPointer<IInputFile>(new CMemoryBlockFile(const_cast<uint8_t*>(bytes.data()),
                                                        int32_t(bytes.size()), name, false));
}

void setSecondsRate(benchmark::State& state, double secondsPerIteration) {
    state.counters["audio-s/s"] = benchmark::Counter(
        secondsPerIteration * double(state.iterations()), benchmark::Counter::kIsRate);
}

void oggDecodeVantor(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = oggBytes();
    std::vector<char> block(4096);
    for (auto _ : state) {
        const CRefPointer<CSoundDecoder> decoder(
            new COggSoundDecoder(memoryFile(bytes, u"bench.ogg")));
        uint64_t frames = 0;
        while (const uint32_t got = decoder->read(block.data(), 1024)) {
            frames += got;
            benchmark::DoNotOptimize(block.data());
        }
        state.counters["frames"] = double(frames);
    }
    setSecondsRate(state, kSeconds);
}

// libvorbisfile's own loop over the same bytes in memory.
struct MemorySource {
    const std::vector<uint8_t>* bytes;
    size_t position;
};

size_t readMemory(void* out, size_t size, size_t count, void* source) {
    MemorySource& memory = *static_cast<MemorySource*>(source);
    const size_t left = memory.bytes->size() - memory.position;
    const size_t wanted = size * count < left ? size * count : left;
    std::memcpy(out, memory.bytes->data() + memory.position, wanted);
    memory.position += wanted;
    return wanted / size;
}

int seekMemory(void* source, ogg_int64_t offset, int whence) {
    MemorySource& memory = *static_cast<MemorySource*>(source);
    const int64_t base = whence == SEEK_SET   ? 0
                         : whence == SEEK_CUR ? int64_t(memory.position)
                                              : int64_t(memory.bytes->size());
    if (base + offset < 0 || base + offset > int64_t(memory.bytes->size()))
        return -1;
    memory.position = size_t(base + offset);
    return 0;
}

long tellMemory(void* source) {
    return long(static_cast<MemorySource*>(source)->position);
}

void oggDecodeVorbisfile(benchmark::State& state) {
    const ov_callbacks callbacks = {readMemory, seekMemory, nullptr, tellMemory};
    const std::vector<uint8_t>& bytes = oggBytes();
    std::vector<char> block(4096);
    for (auto _ : state) {
        MemorySource source{&bytes, 0};
        OggVorbis_File file;
        ov_open_callbacks(&source, &file, nullptr, 0, callbacks);
        int section = 0;
        uint64_t bytes = 0;
        while (const long got =
                   ov_read(&file, block.data(), int(block.size()), 0, 2, 1, &section)) {
            if (got < 0)
                break;
            bytes += uint64_t(got);
            benchmark::DoNotOptimize(block.data());
        }
        state.counters["frames"] = double(bytes / 4);
        ov_clear(&file);
    }
    setSecondsRate(state, kSeconds);
}

BENCHMARK(oggDecodeVantor)->Name("OggDecode/vantor/60s")->Unit(benchmark::kMillisecond);
BENCHMARK(oggDecodeVorbisfile)->Name("OggDecode/libvorbisfile/60s")->Unit(benchmark::kMillisecond);

// ---- stream updates: 8 looping Ogg streams on a loopback device, one update per 30 ms mixed

constexpr int kStreams = 8;
constexpr uint32_t kPeriodFrames = kRate * COpenALAudioDriver::kUpdatePeriodMs / 1000;

ALCdevice* openLoopback(const char*) {
    const auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    return open ? open(nullptr) : nullptr;
}

const ALCint kLoopbackAttributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                      ALC_STEREO_SOFT,
                                      ALC_FORMAT_TYPE_SOFT,
                                      ALC_FLOAT_SOFT,
                                      ALC_FREQUENCY,
                                      kRate,
                                      0};

void renderPeriod(ALCdevice* device, std::vector<float>& mix) {
    static const auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
        alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    render(device, mix.data(), ALCsizei(kPeriodFrames));
}

void streamUpdateVantor(benchmark::State& state) {
    const CRefPointer<CSoundLoaderManager> loaders(new CSoundLoaderManager());
    const CRefPointer<COpenALAudioDriver> driver = COpenALAudioDriver::create(
        AudioParameters{1, false}, nullptr, loaders.get(), {openLoopback, kLoopbackAttributes});
    driver->setStreamingThreshold(0);
    std::vector<CRefPointer<CSoundSource>> streams;
    for (int i = 0; i < kStreams; ++i) {
        streams.push_back(driver->createSound(memoryFile(oggBytes(), u"bench.ogg").get(), {}));
        streams.back()->setLooping(true);
        streams.back()->play();
    }
    std::vector<float> mix(kPeriodFrames * 2);
    for (auto _ : state) {
        driver->updateStreams();
        state.PauseTiming();
        renderPeriod(driver->getDevice(), mix);
        state.ResumeTiming();
    }
}

// The plain OpenAL streaming loop: four buffers per source, processed ones refilled from
// vorbisfile and queued again.
struct PlainStream {
    MemorySource source{&oggBytes(), 0};
    OggVorbis_File file;
    ALuint name = 0;
    ALuint buffers[4] = {};
    std::vector<char> samples = std::vector<char>(COpenALAudioDriver::kSamplesPerBuffer * 4);

    bool queue(ALuint buffer) {
        size_t got = 0;
        int section = 0;
        while (got < samples.size()) {
            const long count =
                ov_read(&file, samples.data() + got, int(samples.size() - got), 0, 2, 1, &section);
            if (count <= 0 && ov_pcm_seek(&file, 0) != 0)
                break;
            got += count > 0 ? size_t(count) : 0;
        }
        alBufferData(buffer, AL_FORMAT_STEREO16, samples.data(), ALsizei(got), kRate);
        alSourceQueueBuffers(name, 1, &buffer);
        return got > 0;
    }
};

void streamUpdatePlainOpenAL(benchmark::State& state) {
    ALCdevice* device = openLoopback(nullptr);
    ALCcontext* context = alcCreateContext(device, kLoopbackAttributes);
    alcMakeContextCurrent(context);
    const ov_callbacks callbacks = {readMemory, seekMemory, nullptr, tellMemory};
    std::vector<PlainStream> streams(kStreams);
    for (PlainStream& stream : streams) {
        ov_open_callbacks(&stream.source, &stream.file, nullptr, 0, callbacks);
        alGenSources(1, &stream.name);
        alGenBuffers(4, stream.buffers);
        for (const ALuint buffer : stream.buffers)
            stream.queue(buffer);
        alSourcePlay(stream.name);
    }
    std::vector<float> mix(kPeriodFrames * 2);
    for (auto _ : state) {
        for (PlainStream& stream : streams) {
            ALint processed = 0;
            alGetSourcei(stream.name, AL_BUFFERS_PROCESSED, &processed);
            for (ALint i = 0; i < processed; ++i) {
                ALuint buffer = 0;
                alSourceUnqueueBuffers(stream.name, 1, &buffer);
                stream.queue(buffer);
            }
        }
        state.PauseTiming();
        renderPeriod(device, mix);
        state.ResumeTiming();
    }
    for (PlainStream& stream : streams) {
        alSourceStop(stream.name);
        alDeleteSources(1, &stream.name);
        alDeleteBuffers(4, stream.buffers);
        ov_clear(&stream.file);
    }
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
}

BENCHMARK(streamUpdateVantor)->Name("StreamUpdate/vantor/8-streams")->Iterations(2000);
BENCHMARK(streamUpdatePlainOpenAL)->Name("StreamUpdate/openal/8-streams")->Iterations(2000);

} // namespace
