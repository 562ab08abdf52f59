#include "engine/platform/EngineDeviceFactory.h"

#include "engine/core/Engine.h"
#include "engine/platform/VantorDeviceWin32.h"
#include "engine/platform/host/SdlPlatform.h"

// A device that should have a driver and has none has opened (and must close) its window;
// the one pass of the loop takes the messages that closing leaves behind.
CEngine* createEngineDevice(const CreationParameters& parameters, IHostWindowSystem& host,
                            IClipboard* clipboard, IClockSource& clock) {
    CRefPointer<CVantorDeviceWin32> device(
        new CVantorDeviceWin32(parameters, host, clipboard, clock));
    if (device->getVideoDriver() == nullptr && parameters.driverType != 0) {
        device->closeDevice();
        device->runOnce();
        return nullptr;
    }
    CEngine::setInstance(device.get());
    return device.detach();
}

CEngine* createEngineDevice(const CreationParameters& parameters) {
    return createEngineDevice(parameters, sdlHostWindowSystem(), &sdlClipboard());
}
