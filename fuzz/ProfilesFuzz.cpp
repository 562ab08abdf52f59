// Loads arbitrary bytes as both profile files, the user's and the common one, through the
// profile manager's own walk with the defaults the game sets, and saves both into memory:
// once saved, loaded and saved again, the profiles keep saving to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/core/Logger.h"
#include "engine/core/RefPointer.h"
#include "engine/io/ProfileManager.h"
#include "engine/io/VirtualFile.h"
#include "engine/io/VirtualFileSystem.h"
#include "fuzz/FuzzInputFile.h"

namespace {

// The data folders lie where nothing can be created, and their "profile.dat" files in memory.
// A save is kept in memory, and then fails as the new file cannot be made durable; nothing is
// renamed.
class ProfileFolders : public CVirtualFileSystem {
public:
    ProfileFolders(std::string user, std::string common)
        : m_user(std::move(user)), m_common(std::move(common)) {
        setUserDataFolder(u"/dev/null/user");
        setCommonDataFolder(u"/dev/null/common");
    }

    CRefPointer<IInputFile> openInputFile(const CStringW& name) override {
        const std::string& bytes = name == u"/dev/null/user/profile.dat" ? m_user : m_common;
        return makeFuzzInputFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                 u"profile.dat");
    }
    CRefPointer<IOutputFile> openOutputFile(const CStringW&, bool) override {
        saved = CRefPointer<CVirtualFile>(new CVirtualFile(u"saved", 4096));
        return CRefPointer<IOutputFile>::share(saved.get());
    }
    bool removeFile(const CStringW&) override { return true; }
    // A damaged file is not moved aside.
    bool fileExists(const CStringW&, bool) override { return false; }
    bool renameFile(const CStringW&, const CStringW&) override { return false; }

    CRefPointer<CVirtualFile> saved;

private:
    std::string m_user;
    std::string m_common;
};

std::string bytesOf(CVirtualFile* file) {
    if (!file)
        return std::string();
    std::string bytes(size_t(file->getLength()), '\0');
    file->seekTo(0, false);
    file->readBytes(bytes.data(), file->getLength());
    return bytes;
}

// What the game puts into the default sets before it loads.
void fillDefaults(CProfileManager& manager) {
    CProfileParameters& system = *manager.getSystemDefaults();
    system.setBool("VSync", true);
    system.setInt("VideoDriver", 2);
    CProfileParameters& player = *manager.getPlayerDefaults();
    player.setInt("LevelIndex", 1);
    player.setFloat("SoundVolume", 50.0f);
    player.setBool("DragViaClick", true);
}

struct Saved {
    std::string user;
    std::string common;
};

// Loads both files, visits every profile as the player screen does, and saves both files.
Saved loadAndSave(const std::string& user, const std::string& common) {
    const CRefPointer<ProfileFolders> folders(new ProfileFolders(user, common));
    const CRefPointer<CProfileManager> manager(
        new CProfileManager(CRefPointer<IVirtualFileSystem>::share(folders.get())));
    fillDefaults(*manager);
    manager->load();
    CProfileParameters* active = manager->getActiveProfile();
    for (int32_t i = 0; i < manager->getProfileCount(); ++i) {
        CProfileParameters* profile = manager->getProfile(i);
        if (manager->findProfile(profile->getName()) != profile)
            std::abort();
        profile->getInt("LevelIndex");
    }
    for (int32_t i = 0; i < manager->getProfileCount(); ++i) {
        if (manager->getProfile(i) == active)
            manager->setActiveProfile(i);
    }
    Saved saved;
    manager->saveUserProfiles();
    saved.user = bytesOf(folders->saved.get());
    manager->saveCommonProfile();
    saved.common = bytesOf(folders->saved.get());
    return saved;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 18))
        return 0;
    // A failed save is logged as an error at every run.
    CLogger::instance()->setMinLevel(CLogger::LevelError);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // The first save may still lose what 8-bit names cannot hold, which the next load drops.
    const Saved first = loadAndSave(bytes, bytes);
    const Saved second = loadAndSave(first.user, first.common);
    const Saved third = loadAndSave(second.user, second.common);
    if (third.user != second.user || third.common != second.common)
        std::abort();
    return 0;
}
