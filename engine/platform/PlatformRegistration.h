#pragma once

// The foundation's registration, then the platform's: the device factory (the device on the
// process's SDL window system), the image loader manager of the engine services, the audio
// classes (registerAudioLibrary) and the maker of the OpenGL driver.
void registerPlatformLibrary();
