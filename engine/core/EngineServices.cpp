#include "engine/core/EngineServices.h"

#include <cstdlib>

#include "engine/core/PropertyTypeRegistry.h"
#include "engine/core/Random.h"
#include "engine/io/Dictionary.h"
#include "engine/io/NamedObjectRegistry.h"

namespace {

CEngineServices* g_services = nullptr;

template <typename T>
CServiceReference<T> make(CServiceReference<T> (*factory)()) {
    return factory != nullptr ? factory() : CServiceReference<T>();
}

} // namespace

CEngineServices* CEngineServices::instance() {
    static const bool destroyedAtExit = std::atexit(destroyInstance) == 0;
    (void)destroyedAtExit;
    if (g_services == nullptr)
        g_services = new CEngineServices(engineServiceFactories());
    return g_services;
}

void CEngineServices::destroyInstance() {
    delete g_services;
}

CEngineServices::CEngineServices(const EngineServiceFactories& factories) {
    // Property sets read with the process's registry; the services share it.
    m_propertyTypeRegistry =
        CRefPointer<CPropertyTypeRegistry>::share(CPropertyTypeRegistry::shared());
    m_soundLoaderManager = make(factories.soundLoaderManager);
    m_dictionary = CRefPointer<CDictionary>(new CDictionary());
    m_namedObjectRegistry = CRefPointer<CNamedObjectRegistry>(new CNamedObjectRegistry());
    m_imageLoaderManager = make(factories.imageLoaderManager);
    m_nodeFactory = make(factories.nodeFactory);
    m_particleEmitterFactory = make(factories.particleEmitterFactory);
    m_random = CRefPointer<CRandom>(new CRandom());
}

CEngineServices::~CEngineServices() {
    m_random.reset();
    m_particleEmitterFactory.reset();
    m_nodeFactory.reset();
    m_imageLoaderManager.reset();
    m_namedObjectRegistry.reset();
    m_dictionary.reset();
    m_soundLoaderManager.reset();
    m_propertyTypeRegistry.reset();
    if (g_services == this)
        g_services = nullptr;
}
