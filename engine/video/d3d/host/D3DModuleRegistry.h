#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"

class IHostWindowSystem;

// A function a stand-in module exports. The drivers cast it to the entry's own signature, whose
// first argument is the context given here.
struct D3DModuleExport {
    CString name;
    void (*function)() = nullptr;
    void* context = nullptr;
};

// A runtime library as the drivers load it by name: a table of named exports.
class CD3DModule : public CRefCounted {
public:
    CD3DModule(const char* name, const CArray<D3DModuleExport>& exports)
        : m_name(name), m_exports(exports) {}

    const CString& getName() const { return m_name; }
    // The export of that name, or none.
    const D3DModuleExport* getProcAddress(const char* name) const;

private:
    CString m_name;
    CArray<D3DModuleExport> m_exports;
};

// The libraries the Direct3D drivers load by name ("d3d9.dll" and its kin). Nothing on this
// system provides them: runtimes of our own register here, and a name nobody registered fails to
// load as a missing library would. Main thread only.
class CD3DModuleRegistry {
public:
    static CD3DModuleRegistry& instance();

    // Replaces a module of the same name; drivers that loaded the old one keep it.
    void registerModule(const char* name, const CArray<D3DModuleExport>& exports);
    void unregisterModule(const char* name);
    // The module of that name, or none.
    CRefPointer<CD3DModule> loadLibrary(const char* name) const;

    // The window layer the runtimes draw through and the drivers sleep on; not owned.
    void setHostWindowSystem(IHostWindowSystem* host) { m_host = host; }
    IHostWindowSystem* getHostWindowSystem() const { return m_host; }
    // Through the window layer, or the thread's own sleep without one.
    void sleep(uint32_t milliseconds) const;

private:
    CArray<CRefPointer<CD3DModule>> m_modules;
    IHostWindowSystem* m_host = nullptr;
};
