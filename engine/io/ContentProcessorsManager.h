#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ServiceReference.h"
#include "engine/io/IContentProcessor.h"
#include "engine/io/IVirtualFileSystem.h"

class CNodeFactory;
class IAudioDriver;
class IRenderDriver;

// What the processors are made with; each keeps the references it needs.
struct ContentProcessorServices {
    CServiceReference<IRenderDriver> videoDriver;
    CServiceReference<IAudioDriver> audioDriver;
    CRefPointer<IVirtualFileSystem> fileSystem;
    CServiceReference<CNodeFactory> nodeFactory;
};

using ContentProcessorFactory = CRefPointer<IContentProcessor> (*)(const ContentProcessorServices&);

// How the processors manager makes the engine's processors, whose content classes live in the
// libraries above. Each library fills the entries of its own classes before the engine makes
// the manager; an empty entry leaves its type without a processor.
struct ContentProcessorFactories {
    ContentProcessorFactory imageTexture = nullptr;       // 'itex'
    ContentProcessorFactory atlasTexture = nullptr;       // 'atex'
    ContentProcessorFactory atlasCollection = nullptr;    // 'atxc'
    ContentProcessorFactory image = nullptr;              // 'imag'
    ContentProcessorFactory sceneNode = nullptr;          // 'snod'
    ContentProcessorFactory font = nullptr;               // 'font'
    ContentProcessorFactory particleCollection = nullptr; // 'prtc'
    ContentProcessorFactory emitter = nullptr;            // 'pemt'
    ContentProcessorFactory sound = nullptr;              // 'isnd'
    ContentProcessorFactory soundPack = nullptr;          // 'sndp'
};

// The process's factories; tests assign an empty set to clear them.
inline ContentProcessorFactories& contentProcessorFactories() {
    static ContentProcessorFactories factories;
    return factories;
}

// Owns the content processors, finds the one of a type and routes the device's driver events
// to them. The engine registers it as a receiver with priority -1, so that the processors hold
// the new drivers before any other receiver (the content manager among them) reacts.
class CContentProcessorsManager : public CEventReceiver {
public:
    // Makes and registers the processors of the given factories in the order of their fields.
    explicit CContentProcessorsManager(
        ContentProcessorServices services,
        const ContentProcessorFactories& factories = contentProcessorFactories());

    bool OnEvent(CEvent& event) override;
    // The children's slot: every processor whose mask takes the event gets it, in list order;
    // their answers are ignored and false returned.
    bool sendToChildren(int32_t mode, CEvent& event) override;
    bool dispatchToProcessors(CEvent& event);

    // The first processor registered for the type; no reference added.
    IContentProcessor* findProcessor(uint32_t type) const;
    // Keeps a reference; null and a second processor for a registered type are ignored.
    void registerProcessor(CRefPointer<IContentProcessor> processor);

    bool onVideoDriverRemoved(CEvent& event);
    bool onVideoDriverCreated(CEvent& event);

    const ContentProcessorServices& getServices() const { return m_services; }

    static const EventMap& getEventMap();

protected:
    ~CContentProcessorsManager() override;

private:
    ContentProcessorServices m_services;
    CArray<CRefPointer<IContentProcessor>> m_processors;
};
