#pragma once

#include <AL/al.h>
#include <AL/alc.h>
#include <atomic>
#include <cstdint>

#include "engine/audio/NullAudioDriver.h"
#include "engine/core/Array.h"
#include "engine/core/Mutex.h"
#include "engine/io/Thread.h"

class CStreamedSoundSource;

// Where the driver's sound goes: the system's devices, or a loopback device that renders on
// request (tests listen to it).
struct OpenALOutput {
    ALCdevice* (*openDevice)(const char* name);
    // The attributes of the context; null for none.
    const ALCint* contextAttributes;
};

const OpenALOutput& systemOpenALOutput();

// Plays through OpenAL from fixed pools of sources and buffers made at start. Streamed sounds
// are refilled every 30 ms by the driver's own thread, or on every update event without it.
// Four locks guard the source pool, the buffer pool, the pending and the active streams, each
// only its own list; only the stream update holds two at once, pending before active.
class COpenALAudioDriver : public CNullAudioDriver, public CThread {
public:
    static constexpr uint32_t kMaxSources = 64;
    static constexpr uint32_t kMaxBuffers = 512;
    static constexpr uint32_t kSamplesPerBuffer = 22050;
    static constexpr uint32_t kUpdatePeriodMs = 30;
    static constexpr const char* kDeviceName = "Generic Software";

    // A running driver, or none (and log lines) when the device, the context or the thread
    // cannot be made.
    static CRefPointer<COpenALAudioDriver> create(const AudioParameters& parameters,
                                                  CRefPointer<IVirtualFileSystem> fileSystem,
                                                  CSoundLoaderManager* soundLoaderManager,
                                                  const OpenALOutput& output);

    void setProcessing(bool processing) override;
    bool isProcessing() const override { return m_processing; }
    CRefPointer<CSoundSource> createSound(IInputFile* file, const CContentKey& key) override;
    CString getName() const override;
    // Updates the streams when the driver runs without its thread.
    bool update(CEvent& event) override;

    // Pool and stream lists of the sources, each under its own lock.
    // The last free source, or 0 when none is free.
    ALuint takeFreeSource();
    void returnSource(ALuint name);
    // All count buffers or none.
    bool takeFreeBuffers(uint32_t count, ALuint* names);
    void returnBuffers(uint32_t count, const ALuint* names);
    void addPendingStream(CStreamedSoundSource* source);
    // Out of the pending list, then out of the active list, one lock after the other.
    void removeStream(CStreamedSoundSource* source);
    // Moves the pending streams to the active ones and refills each active stream that plays.
    void updateStreams();
    // Held by refills, and by the streamed sources while they change what a refill reads.
    CMutex& getActiveStreamLock() { return m_activeStreamLock; }

    // The optional upload that plays from the caller's memory; none in OpenAL-soft.
    using BufferDataStatic = void (*)(ALuint buffer, ALenum format, ALvoid* data, ALsizei size,
                                      ALsizei frequency);
    BufferDataStatic getBufferDataStatic() const { return m_bufferDataStatic; }
    ALCdevice* getDevice() const { return m_device; }
    uint32_t getSourceCount() const { return m_sources.size(); }
    uint32_t getBufferCount() const { return m_buffers.size(); }

protected:
    ~COpenALAudioDriver() override;
    int run() override;

private:
    COpenALAudioDriver(const AudioParameters& parameters,
                       CRefPointer<IVirtualFileSystem> fileSystem,
                       CSoundLoaderManager* soundLoaderManager);

    bool init(const OpenALOutput& output);
    void makePools();

    std::atomic<bool> m_running{false};
    bool m_processing = false;
    ALCdevice* m_device = nullptr;
    ALCcontext* m_context = nullptr;
    BufferDataStatic m_bufferDataStatic = nullptr;

    CMutex m_sourcePoolLock;
    CArray<ALuint> m_sources;
    CArray<ALuint> m_freeSources;
    CMutex m_bufferPoolLock;
    CArray<ALuint> m_buffers;
    CArray<ALuint> m_freeBuffers;
    CMutex m_pendingStreamLock;
    CArray<CStreamedSoundSource*> m_pendingStreams;
    CMutex m_activeStreamLock;
    CArray<CStreamedSoundSource*> m_activeStreams;
};

// The maker the device calls for audio driver type 1, on the system's devices.
CRefPointer<IAudioDriver> createOpenALAudioDriver(const AudioParameters& parameters,
                                                  IVirtualFileSystem* fileSystem,
                                                  CSoundLoaderManager* soundLoaderManager);
