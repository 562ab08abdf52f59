#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/MonotonicClock.h"

// A clock that moves only when told, in whole milliseconds.
class FakeClock : public IClockSource {
public:
    void advanceMs(uint32_t ms) { m_ms += ms; }

    bool queryFrequency(uint64_t& countsPerSecond) override {
        countsPerSecond = 1000;
        return true;
    }
    bool queryCounter(uint64_t& counts) override {
        counts = m_ms;
        return true;
    }
    uint32_t getTickCount() override { return uint32_t(m_ms); }

private:
    uint64_t m_ms = 0;
};

// The least device: stores itself as the engine and creates the subsystems as a device does;
// the service slots are open so tests can fill them, and the engine's own handler records what
// it is offered.
class StubDevice : public CEngine {
public:
    explicit StubDevice(IClockSource& clock = CMonotonicClock::instance(),
                        const CreationParameters& parameters = CreationParameters())
        : CEngine(parameters, clock) {
        setInstance(this);
        createSubsystems();
    }

    // Registered as the device factory by tests that go through CEngine::instance.
    static CEngine* create(const CreationParameters& parameters) {
        return new StubDevice(CMonotonicClock::instance(), parameters);
    }

    bool OnEvent(CEvent& event) override {
        ownEvents.push_back(event.getTypeId());
        return handlesOwnEvents;
    }

    using CEngine::postEvent;

    using CEngine::m_audioDriver;
    using CEngine::m_contentProcessorsManager;
    using CEngine::m_cursorControl;
    using CEngine::m_displayModeList;
    using CEngine::m_fileSystem;
    using CEngine::m_profileManager;
    using CEngine::m_soundPlayer;
    using CEngine::m_systemInfo;
    using CEngine::m_videoDriver;

    std::vector<uint32_t> ownEvents;
    bool handlesOwnEvents = false;
};

// What probes saw: the events they were offered and their releases, in order.
struct ProbeLog {
    std::vector<std::string> events;
    std::vector<std::string> releases;
};

// A receiver that stands in for a service whose class the foundation does not know: it logs
// the events it is offered and its release under its name.
class Probe : public CEventReceiver {
public:
    Probe(std::string name, ProbeLog& log) : m_name(std::move(name)), m_log(log) {
        setCategoryMask(0xFFFFFFFFu);
    }

    // A reference that hands out no object of the service's class, only holds the probe.
    template <typename T>
    static CServiceReference<T> reference(std::string name, ProbeLog& log) {
        Probe* probe = new Probe(std::move(name), log);
        return CServiceReference<T>(nullptr, probe, probe);
    }

    bool OnEvent(CEvent&) override {
        m_log.events.push_back(m_name);
        return false;
    }

protected:
    ~Probe() override { m_log.releases.push_back(m_name); }

private:
    std::string m_name;
    ProbeLog& m_log;
};
