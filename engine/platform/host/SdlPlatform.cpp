#include "engine/platform/host/SdlPlatform.h"

#include "engine/platform/host/ClipboardSdl.h"
#include "engine/platform/host/HostWindowSystemSdl.h"

namespace {

struct SdlPlatform {
    CHostWindowSystemSdl host;
    CClipboardSdl clipboard;
};

SdlPlatform& sdlPlatform() {
    static SdlPlatform platform;
    return platform;
}

} // namespace

IHostWindowSystem& sdlHostWindowSystem() {
    return sdlPlatform().host;
}

IClipboard& sdlClipboard() {
    return sdlPlatform().clipboard;
}
