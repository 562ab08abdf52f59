#pragma once

#include <signal.h>

// The signal calls of the crash handler. Everything that runs inside a handler is
// async-signal-safe: no allocation, no locks, no buffered output.

using FatalSignalHandler = void (*)(int signal, siginfo_t* info, void* context);

// A stack for the calling thread's signal handlers, so that a stack overflow can still be
// reported. False when the system refuses it.
bool installAlternateSignalStack();
// The handler runs on the alternate stack; its own signal stays blocked while it runs.
bool installFatalSignalHandler(int signal, FatalSignalHandler handler);
// "SIGSEGV" and the like for the fatal signals, else "signal".
const char* signalName(int signal);
// Restores the default action and delivers the signal at once, so the process ends with it.
[[noreturn]] void dieBySignal(int signal);
// Waits for another thread to end the process.
[[noreturn]] void waitForever();
