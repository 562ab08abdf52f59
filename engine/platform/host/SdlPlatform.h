#pragma once

class IClipboard;
class IHostWindowSystem;

// The desktop's window system and clipboard on SDL, started on first use and kept for the life
// of the process. Callers outside this folder reach SDL only through these.
IHostWindowSystem& sdlHostWindowSystem();
IClipboard& sdlClipboard();
