#pragma once

// Registers the audio classes with the engine: the sound loader manager among the engine
// services, the OpenAL driver's maker for the device, the 'isnd' and 'sndp' content processors
// and the sound player. The platform library's registration calls it before the engine's first
// use.
void registerAudioLibrary();
