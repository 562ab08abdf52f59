#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/audio/SoundPack.h"
#include "engine/audio/SoundPackProcessor.h"
#include "engine/audio/SoundProcessor.h"
#include "engine/core/DeviceDriverEvents.h"
#include "engine/io/ContentManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/io/XmlContentFrame.h"
#include "io/TempFolder.h"
#include "tests/audio/LoopbackDriver.h"

// Sound content on disk, loaded through a content manager with the 'isnd' and 'sndp'
// processors into sounds of an OpenAL driver on the loopback device.
class SoundContentFixture : public ::testing::Test {
protected:
    SoundContentFixture() {
        files->addArchive(folder.wide(), nullptr);
        ContentProcessorFactories factories;
        factories.sound = &CSoundProcessor::create;
        factories.soundPack = &CSoundPackProcessor::create;
        ContentProcessorServices services;
        services.audioDriver = reference(driver);
        services.fileSystem = files;
        processors = CRefPointer<CContentProcessorsManager>(
            new CContentProcessorsManager(services, factories));
        manager = CRefPointer<CContentManager>(new CContentManager({}, files, processors));
    }

    static CServiceReference<IAudioDriver> reference(const CRefPointer<COpenALAudioDriver>& d) {
        return CServiceReference<IAudioDriver>::adopt(CRefPointer<COpenALAudioDriver>(d).detach());
    }

    void writeFile(const std::string& name, const sounds::Bytes& bytes) {
        std::filesystem::create_directories((folder.path() / name).parent_path());
        std::ofstream(folder.path() / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    void writeText(const std::string& name, const std::string& text) {
        writeFile(name, sounds::Bytes(text.begin(), text.end()));
    }

    // A mono sound at the device rate: frames samples of one level.
    void writeLevel(const std::string& name, uint32_t frames, int16_t level) {
        writeFile(name, sounds::wave16(1, loopback::kRate, std::vector<int16_t>(frames, level)));
    }

    CRefPointer<CSoundSource> load(const char16_t* name) {
        const CRefPointer<CContent> content =
            manager->load(CSoundSource::kContentType, name, false);
        return CRefPointer<CSoundSource>::share(dynamic_cast<CSoundSource*>(content.get()));
    }

    // Reads a pack written to "sounds/SoundPack.xml", with the loopback driver's threshold.
    CRefPointer<SoundPack> readPack(const std::string& xml) {
        writeText("sounds/SoundPack.xml", xml);
        const CRefPointer<IInputFile> file = files->openInputFile(u"sounds/SoundPack.xml");
        const CRefPointer<CXmlTextReader> reader = files->openXmlReader(file.get());
        const CRefPointer<SoundPack> pack(
            new SoundPack(CContentKey(manager.get(), file->getName())));
        const CContentDirectoryScope scope(*manager, file->getName());
        pack->readXml(*reader, *manager, driver.get());
        return pack;
    }

    // Driver events go to the processors first, then to the content manager's caches.
    void deliver(CEvent& event) {
        processors->deliver(CEventReceiver::RouteSelfThenChildren, event);
        manager->deliver(CEventReceiver::RouteSelfThenChildren, event);
    }

    TempFolder folder;
    CRefPointer<IVirtualFileSystem> files{new CVirtualFileSystem};
    CRefPointer<COpenALAudioDriver> driver = loopback::makeDriver();
    CRefPointer<CContentProcessorsManager> processors;
    CRefPointer<CContentManager> manager;
};
