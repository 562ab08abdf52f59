#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/core/EngineServices.h"
#include "engine/core/RefPointer.h"
#include "engine/io/ContentManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/video/ImageLoaderManager.h"
#include "engine/video/NullRenderDriver.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/VideoContentProcessors.h"

// A texture that only knows its sizes: storage padded to powers of two, as on drivers without
// non-power-of-two textures, so that image and texture sizes differ.
class FuzzDriverTexture : public IDriverTexture {
public:
    FuzzDriverTexture(uint32_t width, uint32_t height) : m_width(width), m_height(height) {}

    void* mapPixels(bool) override { return nullptr; }
    void unmapPixels() override {}
    CPixelSize getSourceSize() const override { return {m_width, m_height}; }
    CPixelSize getSize() const override { return {padded(m_width), padded(m_height)}; }
    uint32_t getDriverKind() const override { return DRIVER_KIND_NULL; }
    int32_t getColorFormat() const override { return COLOR_FORMAT_A8R8G8B8; }
    uint32_t getPitch() const override { return 0; }
    bool hasMipLevels() const override { return false; }
    void regenerateMipLevels() override {}
    bool isRenderTarget() const override { return false; }
    CSoftwareImage* getSourceImage() const override { return nullptr; }
    void dropSourceImage() override {}

private:
    static uint32_t padded(uint32_t size) {
        uint32_t storage = 1;
        while (storage < size)
            storage *= 2;
        return storage;
    }

    uint32_t m_width;
    uint32_t m_height;
};

class FuzzRenderDriver : public CNullRenderDriver {
public:
    FuzzRenderDriver() : CNullRenderDriver(CreationParameters(), nullptr, nullptr) {}

    CRefPointer<IDriverTexture> createDeviceTexture(CSoftwareImage* image) override {
        return CRefPointer<IDriverTexture>(
            new FuzzDriverTexture(uint32_t(image->getWidth()), uint32_t(image->getHeight())));
    }
};

// The video library's content processors over a folder holding two page images in each of
// "atlases" and "fonts": "p.png" (3 x 5 pixels) and "q.png" (16 x 16). Made once per process;
// each input gets a fresh content manager, so that nothing cached carries over.
class FuzzVideoContent {
public:
    static FuzzVideoContent& instance() {
        static FuzzVideoContent content;
        return content;
    }

    CRefPointer<CContentManager> makeManager() const {
        return CRefPointer<CContentManager>(
            new CContentManager(driverReference(), m_files, m_processors));
    }

private:
    FuzzVideoContent() {
        engineServiceFactories().imageLoaderManager = [] {
            return CServiceReference<CImageLoaderManager>::adopt(new CImageLoaderManager());
        };
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vantor-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_folder = pattern;
        for (const char* folder : {"atlases", "fonts"}) {
            std::filesystem::create_directories(m_folder / folder);
            writeImage(m_folder / folder / "p.png", 3, 5);
            writeImage(m_folder / folder / "q.png", 16, 16);
        }
        m_files->addArchive(CStringW((m_folder / "").string().c_str()), nullptr);
        ContentProcessorFactories factories;
        registerVideoContentProcessors(factories);
        m_processors = CRefPointer<CContentProcessorsManager>(
            new CContentProcessorsManager({driverReference(), {}, m_files, {}}, factories));
    }
    ~FuzzVideoContent() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    CServiceReference<IRenderDriver> driverReference() const {
        m_driver->addRef();
        return CServiceReference<IRenderDriver>::adopt(m_driver.get());
    }

    void writeImage(const std::filesystem::path& path, int32_t width, int32_t height) {
        const CRefPointer<CSoftwareImage> image =
            CSoftwareImage::create(CContentKey(), COLOR_FORMAT_A8R8G8B8, width, height);
        const CRefPointer<IOutputFile> file =
            m_files->openOutputFile(CStringW(path.string().c_str()), false);
        const CRefPointer<CImageLoaderManager> loaders(new CImageLoaderManager());
        if (!file || !loaders->writeImage(image.get(), file.get()))
            std::abort();
    }

    std::filesystem::path m_folder;
    CRefPointer<FuzzRenderDriver> m_driver{new FuzzRenderDriver()};
    CRefPointer<IVirtualFileSystem> m_files{new CVirtualFileSystem};
    CRefPointer<CContentProcessorsManager> m_processors;
};
