#pragma once

#include "engine/audio/IAudioDriver.h"
#include "engine/core/ServiceReference.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/io/IContentProcessor.h"

// The 'isnd' processor: sound sources from the held audio driver, which follows the device's
// driver changes. Cached sounds belong to the driver that made them and go with it.
class CSoundProcessor : public IContentProcessor {
public:
    explicit CSoundProcessor(CServiceReference<IAudioDriver> driver);

    static CRefPointer<IContentProcessor> create(const ContentProcessorServices& services);

    int32_t getPriority() const override { return 1; }
    uint32_t getContentType() const override { return CSoundSource::kContentType; }
    // None without a driver.
    CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                               const CContentKey& key) override;
    bool save(CContentManager&, CContent*, IOutputFile*, int32_t) override { return false; }
    // Empties the cache when the audio driver goes.
    void notifyCached(CEvent& event, ContentCacheMap& cache) override;
    bool onAudioDriverRemoved(CEvent& event) override;
    bool onAudioDriverCreated(CEvent& event) override;

private:
    ~CSoundProcessor() override = default;

    CServiceReference<IAudioDriver> m_driver;
};
