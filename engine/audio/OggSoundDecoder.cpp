#include "engine/audio/OggSoundDecoder.h"

#include <climits>
#include <cstdio>
#include <utility>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

namespace {

size_t readFile(void* destination, size_t size, size_t count, void* source) {
    if (size == 0)
        return 0;
    const size_t wanted = count < size_t(INT32_MAX) / size ? size * count : size_t(INT32_MAX);
    const int32_t got = static_cast<IInputFile*>(source)->readBytes(destination, int32_t(wanted));
    return got > 0 ? size_t(got) / size : 0;
}

int seekFile(void* source, ogg_int64_t offset, int whence) {
    IInputFile& file = *static_cast<IInputFile*>(source);
    int64_t target = offset;
    if (whence == SEEK_CUR)
        target += file.getPosition();
    else if (whence == SEEK_END)
        target += file.getLength();
    if (target < 0 || target > INT32_MAX)
        return -1;
    return file.seekTo(int32_t(target), false) ? 0 : -1;
}

long tellFile(void* source) {
    return static_cast<IInputFile*>(source)->getPosition();
}

// The decoder owns the file reference, so vorbisfile closes nothing.
const ov_callbacks kFileCallbacks = {readFile, seekFile, nullptr, tellFile};

bool openStream(IInputFile* file, OggVorbis_File& stream) {
    return ov_open_callbacks(file, &stream, nullptr, 0, kFileCallbacks) == 0;
}

} // namespace

COggSoundDecoder::COggSoundDecoder(CRefPointer<IInputFile> file)
    : m_file(std::move(file)), m_stream(new OggVorbis_File()) {
    if (!m_file || !openStream(m_file.get(), *m_stream))
        return;
    m_open = true;
    const vorbis_info* info = ov_info(m_stream, -1);
    if (info) {
        m_channels = uint32_t(info->channels);
        m_frequency = uint32_t(info->rate);
        m_sampleType = info->channels == 1 ? kSampleMono16
                                           : (info->channels == 2 ? kSampleStereo16 : kSampleNone);
    }
    if (m_sampleType != kSampleNone) {
        const ogg_int64_t total = ov_pcm_total(m_stream, -1);
        m_totalSamples = total <= 0 ? 0 : (total > UINT32_MAX ? UINT32_MAX : uint32_t(total));
        m_name = CString(m_file->getName().c_str());
    }
    if (m_totalSamples == 0) {
        ov_clear(m_stream);
        m_open = false;
    }
}

COggSoundDecoder::~COggSoundDecoder() {
    if (m_open)
        ov_clear(m_stream);
    delete m_stream;
}

bool COggSoundDecoder::isOggVorbis(IInputFile* file) {
    OggVorbis_File stream;
    if (!file || !openStream(file, stream))
        return false;
    const bool described = ov_info(&stream, -1) != nullptr;
    ov_clear(&stream);
    return described;
}

bool COggSoundDecoder::rewind() {
    return m_open && ov_pcm_seek(m_stream, 0) == 0;
}

uint32_t COggSoundDecoder::read(void* destination, uint32_t frames) {
    if (!m_open)
        return 0;
    char* bytes = static_cast<char*>(destination);
    const uint64_t wanted = uint64_t(frames) * getFrameBytes();
    uint64_t got = 0;
    while (got < wanted) {
        const uint64_t left = wanted - got;
        int section = 0;
        const long count =
            ov_read(m_stream, bytes + got, left < INT_MAX ? int(left) : INT_MAX, 0, 2, 1, &section);
        if (count <= 0)
            break;
        got += uint64_t(count);
    }
    return uint32_t(got / getFrameBytes());
}
