#pragma once

#include <cstdint>

#include "engine/core/ContentKey.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/Content.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IOutputFile.h"

class CContentManager;

// Turns an open file into a content object of one type, and back where the type allows it.
// A processor whose category mask is 1 gets the device's driver events from the processors
// manager; its event map sends them to the four driver hooks. The content manager also hands
// it every device event together with its cached objects (notifyCached), after the hooks ran.
class IContentProcessor : public CEventReceiver {
public:
    bool OnEvent(CEvent& event) override;

    // Processors with cached objects are notified in ascending priority.
    virtual int32_t getPriority() const { return 0; }
    virtual uint32_t getContentType() const = 0;
    // A new object with one reference, or none.
    virtual CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                                       const CContentKey& key) = 0;
    // Asked before the output file is opened (which empties it); a processor without a writer
    // answers false, logging why when it has something to say. None can save by default.
    virtual bool canSave(const CStringW& name) const;
    virtual bool save(CContentManager& manager, CContent* object, IOutputFile* file,
                      int32_t option) = 0;
    // The manager's cached objects of this processor's type, for the event being delivered.
    virtual void notifyCached(CEvent& event, ContentCacheMap& cache);

    virtual bool onVideoDriverRemoved(CEvent& event);
    virtual bool onVideoDriverCreated(CEvent& event);
    virtual bool onAudioDriverRemoved(CEvent& event);
    virtual bool onAudioDriverCreated(CEvent& event);

    static const EventMap& getEventMap();

protected:
    ~IContentProcessor() override = default;
};
