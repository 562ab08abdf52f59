#include "engine/video/d3d/D3DDriverFactories.h"

#include "engine/video/IRenderDriver.h"

CRefPointer<IRenderDriver> createD3D9Driver(const CreationParameters&, IVirtualFileSystem*) {
    return CRefPointer<IRenderDriver>();
}

CRefPointer<IRenderDriver> createD3D8Driver(const CreationParameters&, IVirtualFileSystem*) {
    return CRefPointer<IRenderDriver>();
}
