#include "engine/audio/AlSoundBuffer.h"

#include <utility>

#include "engine/audio/OpenALAudioDriver.h"
#include "engine/core/Logger.h"

ALenum openALFormatOf(int32_t sampleType) {
    switch (sampleType) {
    case kSampleMono8:
        return AL_FORMAT_MONO8;
    case kSampleStereo8:
        return AL_FORMAT_STEREO8;
    case kSampleMono16:
        return AL_FORMAT_MONO16;
    case kSampleStereo16:
        return AL_FORMAT_STEREO16;
    default:
        return 0;
    }
}

void clearAlErrors() {
    alGetError();
}

bool checkAlUpload() {
    const ALenum error = alGetError();
    if (error == AL_NO_ERROR)
        return true;
    CLogger::instance()->logNarrow(
        CString("Could not upload OpenAL buffer, error ").append(int(error)), CLogger::LevelError);
    return false;
}

CAlSoundBuffer::CAlSoundBuffer(CRefPointer<COpenALAudioDriver> driver,
                               CRefPointer<CPcmSoundData> data)
    : m_driver(std::move(driver)) {
    const ALenum format = openALFormatOf(data->getSampleType());
    if (format == 0) {
        CLogger::instance()->logChars("Unsupported OpenAL buffer format", CLogger::LevelError);
        return;
    }
    if (!m_driver->takeFreeBuffers(1, &m_name))
        return;
    const ALsizei size = ALsizei(data->getByteCount());
    const ALsizei frequency = ALsizei(data->getFrequency());
    clearAlErrors();
    if (const COpenALAudioDriver::BufferDataStatic upload = m_driver->getBufferDataStatic()) {
        upload(m_name, format, const_cast<uint8_t*>(data->getData()), size, frequency);
        m_data = std::move(data);
    } else {
        alBufferData(m_name, format, data->getData(), size, frequency);
    }
    checkAlUpload();
}

CAlSoundBuffer::~CAlSoundBuffer() {
    m_driver->returnBuffers(1, &m_name);
}
