#include "engine/platform/host/HostWindowSystem.h"

HostWindow CHostWindowSystem::createWindow(const HostWindowDesc& desc) {
    const HostWindow window = m_nextWindow;
    if (!openWindow(window, desc)) {
        return kNoHostWindow;
    }
    ++m_nextWindow;
    m_windows.insert(window, Entry());
    return window;
}

void CHostWindowSystem::destroyWindow(HostWindow window) {
    auto found = m_windows.find(window);
    if (found == m_windows.end() || found->value.destroying) {
        return;
    }
    found->value.destroying = true;
    HostMessage destroy;
    destroy.window = window;
    destroy.message = WM_DESTROY;
    sendMessage(destroy);
    closeWindow(window);
    m_windows.erase(window);
}

bool CHostWindowSystem::isWindow(HostWindow window) const {
    return m_windows.find(window) != m_windows.end();
}

void CHostWindowSystem::setWindowProcedure(HostWindow window, IHostWindowProcedure* procedure) {
    auto found = m_windows.find(window);
    if (found != m_windows.end()) {
        found->value.procedure = procedure;
    }
}

int64_t CHostWindowSystem::dispatchMessage(const HostMessage& message) {
    return sendMessage(message);
}

int64_t CHostWindowSystem::sendMessage(const HostMessage& message) {
    auto found = m_windows.find(message.window);
    if (found == m_windows.end()) {
        return 0;
    }
    if (found->value.procedure) {
        return found->value.procedure->windowProc(message);
    }
    return defWindowProc(message);
}

int64_t CHostWindowSystem::defWindowProc(const HostMessage& message) {
    if (message.message == WM_SYSCOMMAND && (message.wParam & 0xFFF0) == SC_CLOSE) {
        HostMessage close;
        close.window = message.window;
        close.message = WM_CLOSE;
        sendMessage(close);
    } else if (message.message == WM_CLOSE) {
        destroyWindow(message.window);
    }
    return 0;
}

void CHostWindowSystem::destroyAllWindows() {
    for (auto it = m_windows.begin(); it != m_windows.end(); ++it) {
        it->value.procedure = nullptr;
    }
    for (HostWindow window = firstWindow(); window != kNoHostWindow; window = firstWindow()) {
        destroyWindow(window);
    }
}

HostWindow CHostWindowSystem::firstWindow() const {
    for (auto it = m_windows.begin(); it != m_windows.end(); ++it) {
        if (!it->value.destroying) {
            return it->key;
        }
    }
    return kNoHostWindow;
}
