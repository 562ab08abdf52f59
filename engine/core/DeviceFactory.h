#pragma once

class CEngine;
struct CreationParameters;

// Makes the platform's device, which is the engine, and stores it with CEngine::setInstance;
// none when it cannot be made. The platform library registers it before the engine's first use,
// so the foundation builds and tests without a platform.
using DeviceFactory = CEngine* (*)(const CreationParameters& parameters);

// The registered factory; null until one is registered, and null again after a test clears it.
inline DeviceFactory& deviceFactory() {
    static DeviceFactory factory = nullptr;
    return factory;
}
