#pragma once

#include "engine/core/String.h"
#include "engine/platform/EngineStartup.h"

// The folder below which the application mounts every content source: the working directory
// as the program found it, with a trailing '/'. Set by programMain; tests set their own.
CStringW& contentBasePath();

// The game's start-up: its libraries, its names, the single-instance guard "Velmora Game
// Instance" and the crash handler.
EngineStartupSettings gameStartupSettings();

// The program: refuses a second instance (which raises the running one's window) with 0,
// makes the application with the first argument as the extra content folder, and runs the
// main loop until the window is gone (0); 1, with "Failed to initialize game" in the log, when
// the application cannot start.
int programMain(int argc, char** argv);
