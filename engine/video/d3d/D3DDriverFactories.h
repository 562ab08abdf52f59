#pragma once

#include "engine/core/CreationParameters.h"
#include "engine/core/RefPointer.h"

class IRenderDriver;
class IVirtualFileSystem;

// The Direct3D drivers for the device's window and size; none, logged, when the runtime or its
// device cannot be had.
CRefPointer<IRenderDriver> createD3D9Driver(const CreationParameters& parameters,
                                            IVirtualFileSystem* fileSystem);
CRefPointer<IRenderDriver> createD3D8Driver(const CreationParameters& parameters,
                                            IVirtualFileSystem* fileSystem);
