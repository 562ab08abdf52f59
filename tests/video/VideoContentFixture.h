#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/core/DeviceDriverEvents.h"
#include "engine/core/EngineServices.h"
#include "engine/io/ContentManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/video/ImageLoaderManager.h"
#include "engine/video/VideoContentProcessors.h"
#include "io/TempFolder.h"
#include "video/ImageFixtures.h"
#include "video/RecordingRenderDriver.h"

// A content manager with the video library's processors over a temporary folder, drawing
// through a recording driver whose textures keep their images.
class VideoContentTest : public ::testing::Test {
protected:
    VideoContentTest() {
        engineServiceFactories().imageLoaderManager = [] {
            return CServiceReference<CImageLoaderManager>::adopt(new CImageLoaderManager());
        };
        CEngineServices::destroyInstance();
        files->addArchive(folder.wide(), nullptr);
        ContentProcessorFactories factories;
        registerVideoContentProcessors(factories);
        processors = CRefPointer<CContentProcessorsManager>(
            new CContentProcessorsManager({reference(driver), {}, files, {}}, factories));
        manager =
            CRefPointer<CContentManager>(new CContentManager(reference(driver), files, processors));
    }
    ~VideoContentTest() override {
        manager.reset();
        processors.reset();
        engineServiceFactories() = EngineServiceFactories();
        CEngineServices::destroyInstance();
    }

    static CServiceReference<IRenderDriver> reference(const CRefPointer<RecordingRenderDriver>& d) {
        d->addRef();
        return CServiceReference<IRenderDriver>::adopt(d.get());
    }

    void writeText(const std::string& name, const std::string& text) {
        std::filesystem::create_directories((folder.path() / name).parent_path());
        std::ofstream(folder.path() / name, std::ios::binary) << text;
    }

    // A PNG of the size, drawn with pixel(x, y) as ARGB.
    template <typename Pixel>
    void writeImage(const std::string& name, int32_t width, int32_t height, Pixel pixel) {
        std::filesystem::create_directories((folder.path() / name).parent_path());
        const CRefPointer<CSoftwareImage> image =
            fixtures::drawnImage(COLOR_FORMAT_A8R8G8B8, width, height, pixel);
        const CRefPointer<IOutputFile> file = files->openOutputFile(folder.wide(name), false);
        const CRefPointer<CImageLoaderManager> loaders(new CImageLoaderManager());
        ASSERT_TRUE(file && loaders->writeImage(image.get(), file.get())) << name;
    }
    void writeImage(const std::string& name, int32_t width, int32_t height) {
        writeImage(name, width, height, [](int32_t, int32_t) { return 0xFFFFFFFFu; });
    }

    template <typename T>
    CRefPointer<T> load(const char (&code)[5], const std::string& name) {
        const CRefPointer<CContent> content =
            manager->load(contentType(code), CStringW(name.c_str()), false);
        return content && content->getContentType() == contentType(code)
                   ? CRefPointer<T>::share(static_cast<T*>(content.get()))
                   : nullptr;
    }

    // As the device replaces its driver: the removed event, then the created event, each to
    // the processors first and then to the content manager.
    void removeDriver() {
        CEventVideoDriverRemoved removed;
        processors->deliver(1, removed);
        manager->deliver(1, removed);
    }
    void createDriver(const CRefPointer<RecordingRenderDriver>& next) {
        driver = next;
        CEventVideoDriverCreated created(reference(next));
        processors->deliver(1, created);
        manager->deliver(1, created);
    }

    TempFolder folder;
    CRefPointer<RecordingRenderDriver> driver{new RecordingRenderDriver()};
    CRefPointer<IVirtualFileSystem> files{new CVirtualFileSystem};
    CRefPointer<CContentProcessorsManager> processors;
    CRefPointer<CContentManager> manager;
};
