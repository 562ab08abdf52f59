#include "engine/platform/EngineStartup.h"

#include <cstdint>

#include "engine/core/EngineServices.h"
#include "engine/core/Properties.h"
#include "engine/io/CrashHandler.h"
#include "engine/io/IVirtualFileSystem.h"

CEngineStartup::CEngineStartup(const EngineStartupSettings& settings) : m_settings(settings) {
    m_settings.registerLibraries();
    if (m_settings.installCrashHandler)
        installCrashHandler();
    if (m_settings.instanceName.isEmpty())
        return;
    if (m_settings.instanceFolder.isEmpty())
        m_guard.emplace(m_settings.instanceName);
    else
        m_guard.emplace(m_settings.instanceName, m_settings.instanceFolder);
}

namespace {

void wakeEngine(void* engine) {
    static_cast<CEngine*>(engine)->wakeMessageWait();
}

} // namespace

// No wake may reach the engine once it is gone.
CEngineStartup::~CEngineStartup() {
    if (m_guard)
        m_guard->wakeOnRequest(nullptr, nullptr);
    m_engine.reset();
}

bool CEngineStartup::isAnotherInstanceRunning() const {
    return m_guard && m_guard->isAnotherInstanceRunning();
}

CEngine* CEngineStartup::startEngine() {
    if (m_engine || isAnotherInstanceRunning())
        return m_engine.get();
    m_engine = CRefPointer<CEngine>(CEngine::instance());
    if (!m_engine)
        return nullptr;
    CProperties& properties = *m_engine->getGlobalProperties();
    setPropertyStringW(properties, "PublisherName", m_settings.publisherName);
    setPropertyStringW(properties, "TitleName", m_settings.titleName);
    setPropertyStringW(properties, "TitleCaption", m_settings.titleCaption);
    IVirtualFileSystem* fileSystem = m_engine->getFileSystem();
    fileSystem->setDataFolderNames(properties.getStringW("PublisherName"),
                                   properties.getStringW("TitleName"));
    fileSystem->setRandom(CRefPointer<CRandom>::share(CEngineServices::instance()->getRandom()));
    return m_engine.get();
}

void CEngineStartup::setMainWindow() {
    const uint32_t window = m_engine ? m_engine->getCreationParameters().windowHandle : 0;
    if (!m_guard || window == 0)
        return;
    m_guard->setMainWindow(reinterpret_cast<void*>(uintptr_t(window)));
    // A guard that cannot listen, or a thread that cannot start, has said so in the log.
    m_guard->wakeOnRequest(&wakeEngine, m_engine.get());
}

bool CEngineStartup::runOnce() {
    if (!m_engine)
        return false;
    if (m_guard && m_guard->takeRaiseRequest())
        m_engine->raiseWindow();
    return m_engine->runOnce();
}
