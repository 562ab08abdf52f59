#pragma once

#include "engine/core/CreationParameters.h"
#include "engine/core/MonotonicClock.h"

class CEngine;
class IClipboard;
class IHostWindowSystem;

// Makes the device on the given window system and stores it as the engine. When the parameters
// ask for a video driver and none could be made, the device is closed and released and the
// result is none. The window system, clipboard and clock must outlive the device.
CEngine* createEngineDevice(const CreationParameters& parameters, IHostWindowSystem& host,
                            IClipboard* clipboard = nullptr,
                            IClockSource& clock = CMonotonicClock::instance());

// The same on the process's SDL window system, which starts with the first call.
CEngine* createEngineDevice(const CreationParameters& parameters);
