#pragma once

#include <signal.h>

// The signal calls of the crash handler. Everything that runs inside a handler is
// async-signal-safe: no allocation, no locks, no buffered output.

using FatalSignalHandler = void (*)(int signal, siginfo_t* info, void* context);

// A stack for the calling thread's signal handlers, so that a stack overflow can still be
// reported. False when the system refuses it. For the main thread: there is one such stack.
bool installAlternateSignalStack();

// The same for a thread the engine starts, which needs a stack of its own: in place while the
// object lives, on the thread that made it; the thread's previous one comes back after it.
class CThreadSignalStack {
public:
    CThreadSignalStack();
    ~CThreadSignalStack();
    CThreadSignalStack(const CThreadSignalStack&) = delete;
    CThreadSignalStack& operator=(const CThreadSignalStack&) = delete;

private:
    void* m_memory = nullptr;
    stack_t m_previous{};
    bool m_installed = false;
};
// The handler runs on the alternate stack; its own signal stays blocked while it runs.
bool installFatalSignalHandler(int signal, FatalSignalHandler handler);
// "SIGSEGV" and the like for the fatal signals, else "signal".
const char* signalName(int signal);
// Restores the default action and delivers the signal at once, so the process ends with it.
[[noreturn]] void dieBySignal(int signal);
// Waits for another thread to end the process.
[[noreturn]] void waitForever();
