#pragma once

#include <cstdint>

// What replaceAudioDriver takes: the audio driver (0 null, 1 OpenAL) and whether it runs its
// own update thread.
struct AudioParameters {
    uint32_t driverType = 0;
    bool thread = false;
};

// The engine's version text. A copy of the parameters names this engine's version, never the
// source's, so copying leaves it alone.
struct EngineVersionText {
    const char* text = "0.9.0";

    EngineVersionText() = default;
    EngineVersionText(const EngineVersionText&) {}
    EngineVersionText& operator=(const EngineVersionText&) { return *this; }
};

// How the device is to be created: video driver, window and audio.
struct CreationParameters {
    // 0 null, 1 Direct3D 8, 2 Direct3D 9, 3 OpenGL, 4 OpenGL ES 1 (not available).
    uint32_t driverType = 0;
    uint32_t width = 800;
    uint32_t height = 600;
    uint32_t bits = 16;
    uint8_t depthBits = 16;
    bool fullScreen = false;
    bool stencilBuffer = false;
    bool verticalSync = false;
    // Multisample count asked of the video driver; 0 is none.
    uint8_t antiAlias = 0;
    // In full screen, width and height come from the desktop mode.
    bool useDesktopResolution = false;
    // Carried unchanged; nothing acts on them.
    uint8_t options[5] = {0, 1, 0, 0, 0};
    bool highPrecisionFloat = false;
    // An existing window to render into; 0 lets the device create its own.
    uint32_t windowHandle = 0;
    AudioParameters audio;
    EngineVersionText version;
};
