#pragma once

// The foundation's registration, then the platform's: the device factory (the device on the
// process's SDL window system), the image loader manager of the engine services, the content
// processors of images, textures, atlases and fonts, the audio classes (registerAudioLibrary),
// the maker of the OpenGL driver and the Direct3D runtime on OpenGL as "d3d9.dll" and "d3d8.dll"
// on the process's window system.
void registerPlatformLibrary();
