#include "engine/platform/PlatformRegistration.h"

#include "engine/audio/AudioRegistration.h"
#include "engine/core/DeviceFactory.h"
#include "engine/core/EngineServiceFactories.h"
#include "engine/io/FoundationRegistration.h"
#include "engine/platform/DriverFactories.h"
#include "engine/platform/EngineDeviceFactory.h"
#include "engine/platform/host/SdlPlatform.h"
#include "engine/video/ImageLoaderManager.h"
#include "engine/video/VideoContentProcessors.h"
#include "engine/video/d3d/host/GLDirect3D9.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"

namespace {

CEngine* makeDevice(const CreationParameters& parameters) {
    return createEngineDevice(parameters);
}

CServiceReference<CImageLoaderManager> makeImageLoaderManager() {
    return CServiceReference<CImageLoaderManager>::adopt(new CImageLoaderManager());
}

} // namespace

void registerPlatformLibrary() {
    registerFoundationLibrary();
    deviceFactory() = &makeDevice;
    engineServiceFactories().imageLoaderManager = &makeImageLoaderManager;
    registerVideoContentProcessors(contentProcessorFactories());
    registerAudioLibrary();
    openGLDriverFactory() = &createOpenGLDriver;
    registerGLDirect3DModules(&sdlHostWindowSystem);
}
