#pragma once

#include "engine/core/EngineServiceFactories.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ServiceReference.h"

class CDictionary;
class CNamedObjectRegistry;
class CPropertyTypeRegistry;
class CRandom;

// The services that do not depend on the device: property type registry, dictionary,
// named-object registry, image loader manager, node factory, particle emitter factory, random
// generators and sound loader manager. Services whose factory is not registered stay absent.
class CEngineServices {
public:
    // Built on first use from the registered factories and destroyed at exit.
    static CEngineServices* instance();
    // Destroys the process's services now; the next instance() builds them again.
    static void destroyInstance();

    // Makes the services in this order: property type registry, sound loader manager,
    // dictionary, named-object registry, image loader manager, node factory, particle emitter
    // factory, random generators. The destructor releases them in the reverse order.
    explicit CEngineServices(const EngineServiceFactories& factories);
    ~CEngineServices();
    CEngineServices(const CEngineServices&) = delete;
    CEngineServices& operator=(const CEngineServices&) = delete;

    CPropertyTypeRegistry* getPropertyTypeRegistry() const { return m_propertyTypeRegistry.get(); }
    CDictionary* getDictionary() const { return m_dictionary.get(); }
    CNamedObjectRegistry* getNamedObjectRegistry() const { return m_namedObjectRegistry.get(); }
    CImageLoaderManager* getImageLoaderManager() const { return m_imageLoaderManager.get(); }
    CNodeFactory* getNodeFactory() const { return m_nodeFactory.get(); }
    // The reference itself, for services that keep their own.
    const CServiceReference<CNodeFactory>& getNodeFactoryReference() const { return m_nodeFactory; }
    CParticleEmitterFactory* getParticleEmitterFactory() const {
        return m_particleEmitterFactory.get();
    }
    CRandom* getRandom() const { return m_random.get(); }
    CSoundLoaderManager* getSoundLoaderManager() const { return m_soundLoaderManager.get(); }

private:
    CRefPointer<CPropertyTypeRegistry> m_propertyTypeRegistry;
    CRefPointer<CDictionary> m_dictionary;
    CRefPointer<CNamedObjectRegistry> m_namedObjectRegistry;
    CServiceReference<CImageLoaderManager> m_imageLoaderManager;
    CServiceReference<CNodeFactory> m_nodeFactory;
    CServiceReference<CParticleEmitterFactory> m_particleEmitterFactory;
    CRefPointer<CRandom> m_random;
    CServiceReference<CSoundLoaderManager> m_soundLoaderManager;
};
