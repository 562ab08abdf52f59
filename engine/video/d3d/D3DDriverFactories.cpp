#include "engine/video/d3d/D3DDriverFactories.h"

#include "engine/video/IRenderDriver.h"
#include "engine/video/d3d/D3D8Driver.h"
#include "engine/video/d3d/D3D9Driver.h"

CRefPointer<IRenderDriver> createD3D9Driver(const CreationParameters& parameters,
                                            IVirtualFileSystem* fileSystem) {
    CRefPointer<CD3D9Driver> driver(new CD3D9Driver(parameters, fileSystem));
    if (!driver->initDevice(parameters))
        return nullptr;
    return driver;
}

CRefPointer<IRenderDriver> createD3D8Driver(const CreationParameters& parameters,
                                            IVirtualFileSystem* fileSystem) {
    CRefPointer<CD3D8Driver> driver(new CD3D8Driver(parameters, fileSystem));
    if (!driver->initDevice(parameters))
        return nullptr;
    return driver;
}
