#pragma once

#include "engine/core/CreationParameters.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Timer.h"

class CSoundLoaderManager;
class IAudioDriver;
class IHostWindowSystem;
class IRenderDriver;
class IVirtualFileSystem;

// The drivers that are built apart from the device register their makers here; the device
// reports a driver whose maker is missing as not created.

// The OpenGL driver for the window named in the parameters, drawing through the window layer.
using OpenGLDriverFactory = CRefPointer<IRenderDriver> (*)(const CreationParameters& parameters,
                                                           IVirtualFileSystem* fileSystem,
                                                           CRefPointer<CTimer> timer,
                                                           IHostWindowSystem& host);

inline OpenGLDriverFactory& openGLDriverFactory() {
    static OpenGLDriverFactory factory = nullptr;
    return factory;
}

using OpenALDriverFactory = CRefPointer<IAudioDriver> (*)(const AudioParameters& parameters,
                                                          IVirtualFileSystem* fileSystem,
                                                          CSoundLoaderManager* soundLoaders);

inline OpenALDriverFactory& openALDriverFactory() {
    static OpenALDriverFactory factory = nullptr;
    return factory;
}
