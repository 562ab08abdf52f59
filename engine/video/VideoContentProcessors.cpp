#include "engine/video/VideoContentProcessors.h"

#include "engine/video/AtlasCollectionProcessor.h"
#include "engine/video/AtlasTextureProcessor.h"
#include "engine/video/FontProcessor.h"
#include "engine/video/ImageProcessor.h"
#include "engine/video/ImageTextureProcessor.h"

void registerVideoContentProcessors(ContentProcessorFactories& factories) {
    factories.image = [](const ContentProcessorServices&) {
        return CRefPointer<IContentProcessor>(new CImageProcessor());
    };
    factories.imageTexture = [](const ContentProcessorServices& services) {
        return CRefPointer<IContentProcessor>(new CImageTextureProcessor(services.videoDriver));
    };
    factories.atlasTexture = [](const ContentProcessorServices&) {
        return CRefPointer<IContentProcessor>(new CAtlasTextureProcessor());
    };
    factories.atlasCollection = [](const ContentProcessorServices& services) {
        return CRefPointer<IContentProcessor>(new CAtlasCollectionProcessor(services.fileSystem));
    };
    factories.font = [](const ContentProcessorServices& services) {
        return CRefPointer<IContentProcessor>(new CFontProcessor(services.fileSystem));
    };
}
