#pragma once

#include "engine/core/Map.h"
#include "engine/platform/host/IHostWindowSystem.h"

// What both back ends share: the table of windows with their procedures, delivery of messages
// to the procedures and the default procedure. A back end opens and closes the real windows.
class CHostWindowSystem : public IHostWindowSystem {
public:
    HostWindow createWindow(const HostWindowDesc& desc) final;
    void destroyWindow(HostWindow window) final;
    bool isWindow(HostWindow window) const final;
    void setWindowProcedure(HostWindow window, IHostWindowProcedure* procedure) final;

    int64_t dispatchMessage(const HostMessage& message) final;
    int64_t sendMessage(const HostMessage& message) final;
    int64_t defWindowProc(const HostMessage& message) final;

protected:
    // The back end makes its window for the new handle; false when it cannot.
    virtual bool openWindow(HostWindow window, const HostWindowDesc& desc) = 0;
    virtual void closeWindow(HostWindow window) = 0;
    // Destroys every window still open, without telling their procedures, which may be gone;
    // back ends call it from their destructors, while their own tables still stand.
    void destroyAllWindows();
    // The oldest window still open, kNoHostWindow when there is none.
    HostWindow firstWindow() const;

private:
    struct Entry {
        IHostWindowProcedure* procedure = nullptr;
        bool destroying = false;
    };

    // Handles are never reused, so a stale handle cannot reach a newer window.
    CMap<HostWindow, Entry> m_windows;
    HostWindow m_nextWindow = 1;
};
