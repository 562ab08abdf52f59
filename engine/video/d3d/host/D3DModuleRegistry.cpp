#include "engine/video/d3d/host/D3DModuleRegistry.h"

#include <chrono>
#include <thread>

#include "engine/platform/host/IHostWindowSystem.h"

const D3DModuleExport* CD3DModule::getProcAddress(const char* name) const {
    for (const D3DModuleExport& entry : m_exports) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

CD3DModuleRegistry& CD3DModuleRegistry::instance() {
    static CD3DModuleRegistry registry;
    return registry;
}

void CD3DModuleRegistry::registerModule(const char* name, const CArray<D3DModuleExport>& exports) {
    unregisterModule(name);
    m_modules.append(CRefPointer<CD3DModule>(new CD3DModule(name, exports)));
}

void CD3DModuleRegistry::unregisterModule(const char* name) {
    for (uint32_t i = 0; i < m_modules.size(); ++i) {
        if (m_modules[i]->getName() == name) {
            m_modules.eraseAt(i);
            return;
        }
    }
}

CRefPointer<CD3DModule> CD3DModuleRegistry::loadLibrary(const char* name) const {
    for (const CRefPointer<CD3DModule>& module : m_modules) {
        if (module->getName() == name)
            return module;
    }
    return nullptr;
}

void CD3DModuleRegistry::sleep(uint32_t milliseconds) const {
    if (m_host)
        m_host->sleep(milliseconds);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
