#pragma once

// The foundation's registration, then the platform's: the device factory (the device on the
// process's SDL window system), the image loader manager of the engine services and the audio
// classes (registerAudioLibrary).
void registerPlatformLibrary();
