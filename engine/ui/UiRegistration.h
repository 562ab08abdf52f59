#pragma once

// The registration of the libraries below, then the ui library's entries in the engine's
// factories: the particle emitter factory service and the content processors of particle
// collections ('prtc') and emitters ('pemt'). Calling it again changes nothing.
void registerUiLibrary();
