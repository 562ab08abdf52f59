#include "engine/audio/PcmSoundData.h"

#include "engine/io/ByteBuffer.h"

CPcmSoundData::CPcmSoundData(CSoundDecoder& decoder) {
    const uint64_t bytes = decoder.getTotalBytes();
    if (bytes == 0 || bytes > kMaxBytes || decoder.getFrequency() == 0 || !decoder.rewind())
        return;
    CByteBuffer buffer{uint32_t(bytes)};
    if (!buffer.data() ||
        decoder.read(buffer.data(), decoder.getTotalSamples()) != decoder.getTotalSamples())
        return;
    m_data = buffer.detach();
    m_name = decoder.getName();
    m_channels = decoder.getChannels();
    m_frequency = decoder.getFrequency();
    m_sampleType = decoder.getSampleType();
    m_totalSamples = decoder.getTotalSamples();
}

CPcmSoundData::~CPcmSoundData() {
    delete[] m_data;
}
