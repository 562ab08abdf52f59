#pragma once

#include <utility>

#include "engine/core/Event.h"
#include "engine/core/ServiceReference.h"

class IAudioDriver;
class IRenderDriver;

// The device's driver changes, delivered to every receiver before the old driver goes and after
// the new one exists. The created events carry the new driver; a receiver that keeps it copies
// the reference. The event holds its own reference while it lives, so the driver cannot vanish
// during delivery.

class CEventVideoDriverRemoved : public CEventType<10, CEventDevice> {};

class CEventVideoDriverCreated : public CEventType<11, CEventDevice> {
public:
    explicit CEventVideoDriverCreated(CServiceReference<IRenderDriver> driver)
        : m_driver(std::move(driver)) {}

    const CServiceReference<IRenderDriver>& getDriver() const { return m_driver; }

private:
    CServiceReference<IRenderDriver> m_driver;
};

class CEventAudioDriverRemoved : public CEventType<12, CEventDevice> {};

class CEventAudioDriverCreated : public CEventType<13, CEventDevice> {
public:
    explicit CEventAudioDriverCreated(CServiceReference<IAudioDriver> driver)
        : m_driver(std::move(driver)) {}

    const CServiceReference<IAudioDriver>& getDriver() const { return m_driver; }

private:
    CServiceReference<IAudioDriver> m_driver;
};
