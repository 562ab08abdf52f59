#include "engine/io/PosixSignals.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr size_t kAlternateStackSize = 64 * 1024;

// Static, so that it exists even when the heap is what broke.
alignas(16) uint8_t g_alternateStack[kAlternateStackSize];

} // namespace

bool installAlternateSignalStack() {
    stack_t stack{};
    stack.ss_sp = g_alternateStack;
    stack.ss_size = sizeof(g_alternateStack);
    return sigaltstack(&stack, nullptr) == 0;
}

// Mapped when the thread starts, so it is there even when the heap is what broke later.
CThreadSignalStack::CThreadSignalStack() {
    void* memory = mmap(nullptr, kAlternateStackSize, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return;
    m_memory = memory;
    stack_t stack{};
    stack.ss_sp = m_memory;
    stack.ss_size = kAlternateStackSize;
    m_installed = sigaltstack(&stack, &m_previous) == 0;
}

CThreadSignalStack::~CThreadSignalStack() {
    if (m_installed) {
        if (m_previous.ss_flags & SS_DISABLE) {
            stack_t off{};
            off.ss_flags = SS_DISABLE;
            sigaltstack(&off, nullptr);
        } else {
            sigaltstack(&m_previous, nullptr);
        }
    }
    if (m_memory)
        munmap(m_memory, kAlternateStackSize);
}

bool installFatalSignalHandler(int signal, FatalSignalHandler handler) {
    struct sigaction action {};
    action.sa_sigaction = handler;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    return sigaction(signal, &action, nullptr) == 0;
}

const char* signalName(int signal) {
    switch (signal) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGILL:
        return "SIGILL";
    case SIGFPE:
        return "SIGFPE";
    case SIGABRT:
        return "SIGABRT";
    default:
        return "signal";
    }
}

void dieBySignal(int signal) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, signal);
    pthread_sigmask(SIG_UNBLOCK, &blocked, nullptr);
    raise(signal);
    // Only reached when the signal's default action does not end the process.
    _exit(128 + signal);
}

void waitForever() {
    for (;;)
        pause();
}
