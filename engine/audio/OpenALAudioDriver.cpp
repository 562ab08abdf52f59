#include "engine/audio/OpenALAudioDriver.h"

#include <chrono>
#include <mutex>
#include <thread>
#include <utility>

#include "engine/audio/AlSoundBuffer.h"
#include "engine/audio/PcmSoundData.h"
#include "engine/audio/StaticSoundSource.h"
#include "engine/audio/StreamedSoundSource.h"
#include "engine/core/Logger.h"

namespace {

void logError(const char* text) {
    CLogger::instance()->logChars(text, CLogger::LevelError);
}

template <typename T>
void eraseUnordered(CArray<T>& array, const T& value) {
    for (uint32_t i = 0; i < array.size(); ++i) {
        if (array[i] == value) {
            array.eraseAtUnordered(i);
            return;
        }
    }
}

template <typename T>
bool contains(const CArray<T>& array, const T& value) {
    for (const T& element : array) {
        if (element == value)
            return true;
    }
    return false;
}

ALCdevice* openSystemDevice(const char* name) {
    return alcOpenDevice(name);
}

} // namespace

const OpenALOutput& systemOpenALOutput() {
    static const OpenALOutput output = {openSystemDevice, nullptr};
    return output;
}

CRefPointer<IAudioDriver> createOpenALAudioDriver(const AudioParameters& parameters,
                                                  IVirtualFileSystem* fileSystem,
                                                  CSoundLoaderManager* soundLoaderManager) {
    return COpenALAudioDriver::create(parameters,
                                      CRefPointer<IVirtualFileSystem>::share(fileSystem),
                                      soundLoaderManager, systemOpenALOutput());
}

CRefPointer<COpenALAudioDriver>
COpenALAudioDriver::create(const AudioParameters& parameters,
                           CRefPointer<IVirtualFileSystem> fileSystem,
                           CSoundLoaderManager* soundLoaderManager, const OpenALOutput& output) {
    CRefPointer<COpenALAudioDriver> driver(
        new COpenALAudioDriver(parameters, std::move(fileSystem), soundLoaderManager));
    return driver->init(output) ? driver : nullptr;
}

COpenALAudioDriver::COpenALAudioDriver(const AudioParameters& parameters,
                                       CRefPointer<IVirtualFileSystem> fileSystem,
                                       CSoundLoaderManager* soundLoaderManager)
    : CNullAudioDriver(parameters, std::move(fileSystem), soundLoaderManager) {}

bool COpenALAudioDriver::init(const OpenALOutput& output) {
    m_device = output.openDevice(kDeviceName);
    if (!m_device) {
        logError("Failed to open the OpenAL \"Generic Software\" audio device");
        m_device = output.openDevice(nullptr);
        if (!m_device) {
            logError("Failed to open the OpenAL best audio device");
            return false;
        }
    }
    m_context = alcCreateContext(m_device, output.contextAttributes);
    if (!m_context) {
        alcCloseDevice(std::exchange(m_device, nullptr));
        logError("Failed to create the OpenAL audio context");
        return false;
    }
    m_running = true;
    m_bufferDataStatic = reinterpret_cast<BufferDataStatic>(alGetProcAddress("alBufferDataStatic"));
    m_processing = alcMakeContextCurrent(m_context) == ALC_TRUE;
    if (m_parameters.thread && !start()) {
        m_running = false;
        logError("Failed to create the OpenAL update thread");
        return false;
    }
    makePools();
    return true;
}

// One object at a time, so a system with fewer sources than the pool asks for still gives
// all it has.
void COpenALAudioDriver::makePools() {
    alGetError();
    for (uint32_t i = 0; i < kMaxSources; ++i) {
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR)
            break;
        m_sources.append(source);
    }
    for (uint32_t i = 0; i < kMaxBuffers; ++i) {
        ALuint buffer = 0;
        alGenBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR)
            break;
        m_buffers.append(buffer);
    }
    m_freeSources = m_sources;
    m_freeBuffers = m_buffers;
}

COpenALAudioDriver::~COpenALAudioDriver() {
    m_running = false;
    join();
    if (m_sources.size() != 0)
        alDeleteSources(ALsizei(m_sources.size()), m_sources.data());
    if (m_buffers.size() != 0)
        alDeleteBuffers(ALsizei(m_buffers.size()), m_buffers.data());
    if (m_context) {
        if (alcGetCurrentContext() == m_context)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(m_context);
    }
    if (m_device)
        alcCloseDevice(m_device);
}

int COpenALAudioDriver::run() {
    while (m_running) {
        updateStreams();
        std::this_thread::sleep_for(std::chrono::milliseconds(kUpdatePeriodMs));
    }
    return 0;
}

void COpenALAudioDriver::setProcessing(bool processing) {
    if (!m_context)
        return;
    if (processing)
        alcProcessContext(m_context);
    else
        alcSuspendContext(m_context);
    m_processing = processing;
}

CRefPointer<CSoundSource> COpenALAudioDriver::createSound(IInputFile* file,
                                                          const CContentKey& key) {
    if (!m_running || !m_soundLoaderManager)
        return nullptr;
    CRefPointer<CSoundDecoder> decoder = m_soundLoaderManager->loadSound(file, key);
    if (!decoder || decoder->getTotalSamples() == 0)
        return nullptr;
    const CRefPointer<COpenALAudioDriver> self = CRefPointer<COpenALAudioDriver>::share(this);
    if (decoder->getTotalBytes() > m_streamingThreshold) {
        return CRefPointer<CSoundSource>(
            new CStreamedSoundSource(key, self, std::move(decoder), kSamplesPerBuffer));
    }
    CRefPointer<CPcmSoundData> data(new CPcmSoundData(*decoder));
    if (!data->getData())
        return nullptr;
    const CRefPointer<CAlSoundBuffer> buffer(new CAlSoundBuffer(self, std::move(data)));
    return CRefPointer<CSoundSource>(new CStaticSoundSource(key, self, buffer));
}

CString COpenALAudioDriver::getName() const {
    CString name("OpenAL\r Device: ");
    const ALCchar* device = m_device ? alcGetString(m_device, ALC_DEVICE_SPECIFIER) : nullptr;
    name.append(device ? device : "").append("\r");
    if (alcIsExtensionPresent(nullptr, "ALC_ENUMERATION_EXT") != ALC_TRUE)
        return name;
    name.append(" Available devices: ");
    // A list of names, each ended by a zero, with an empty name after the last.
    const ALCchar* list = alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
    if (!list || *list == '\0')
        name.append("none");
    for (const ALCchar* entry = list; entry && *entry != '\0';) {
        const CString text(entry);
        name.append(text).append(" ");
        entry += text.length() + 1;
    }
    return name.append("\r");
}

bool COpenALAudioDriver::update(CEvent&) {
    if (!m_parameters.thread)
        updateStreams();
    return false;
}

ALuint COpenALAudioDriver::takeFreeSource() {
    const std::lock_guard<CMutex> lock(m_sourcePoolLock);
    const uint32_t count = m_freeSources.size();
    if (count == 0)
        return 0;
    const ALuint source = m_freeSources[count - 1];
    m_freeSources.eraseAt(count - 1);
    return source;
}

void COpenALAudioDriver::returnSource(ALuint name) {
    const std::lock_guard<CMutex> lock(m_sourcePoolLock);
    if (name != 0)
        m_freeSources.append(name);
}

bool COpenALAudioDriver::takeFreeBuffers(uint32_t count, ALuint* names) {
    const std::lock_guard<CMutex> lock(m_bufferPoolLock);
    const uint32_t free = m_freeBuffers.size();
    if (free < count)
        return false;
    for (uint32_t i = 0; i < count; ++i)
        names[i] = m_freeBuffers[free - count + i];
    for (uint32_t i = 0; i < count; ++i)
        m_freeBuffers.eraseAt(m_freeBuffers.size() - 1);
    return true;
}

void COpenALAudioDriver::returnBuffers(uint32_t count, const ALuint* names) {
    const std::lock_guard<CMutex> lock(m_bufferPoolLock);
    for (uint32_t i = 0; i < count; ++i) {
        if (names[i] != 0)
            m_freeBuffers.append(names[i]);
    }
}

void COpenALAudioDriver::addPendingStream(CStreamedSoundSource* source) {
    const std::lock_guard<CMutex> lock(m_pendingStreamLock);
    m_pendingStreams.append(source);
}

void COpenALAudioDriver::removeStream(CStreamedSoundSource* source) {
    {
        const std::lock_guard<CMutex> lock(m_pendingStreamLock);
        eraseUnordered(m_pendingStreams, source);
    }
    const std::lock_guard<CMutex> lock(m_activeStreamLock);
    eraseUnordered(m_activeStreams, source);
}

void COpenALAudioDriver::updateStreams() {
    {
        const std::lock_guard<CMutex> pending(m_pendingStreamLock);
        {
            const std::lock_guard<CMutex> active(m_activeStreamLock);
            m_activeStreams.appendAll(m_pendingStreams);
        }
        m_pendingStreams.clear();
    }
    CArray<CStreamedSoundSource*> streams;
    {
        const std::lock_guard<CMutex> active(m_activeStreamLock);
        streams = m_activeStreams;
    }
    for (CStreamedSoundSource* source : streams) {
        const std::lock_guard<CMutex> active(m_activeStreamLock);
        if (contains(m_activeStreams, source) && source->isPlaying())
            source->refill();
    }
}
