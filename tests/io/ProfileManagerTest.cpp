#include "engine/io/ProfileManager.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/core/PropertyData.h"
#include "engine/core/Utf.h"
#include "engine/io/VirtualFileSystem.h"
#include "io/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The file's bytes: the byte-order mark and the text as UTF-16 little-endian.
std::string utf16File(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    return bytes;
}

std::string utf8(const CStringW& text) {
    return utf16ToUtf8(text.c_str()).c_str();
}

// Writes half of what it is given, as a full disk does.
class HalfWritingFile : public IOutputFile {
public:
    explicit HalfWritingFile(CRefPointer<IOutputFile> file) : m_file(std::move(file)) {}
    int32_t writeBytes(const void* buffer, int32_t count) override {
        return m_file->writeBytes(buffer, count / 2);
    }
    bool seekTo(int32_t position, bool relative) override {
        return m_file->seekTo(position, relative);
    }
    int32_t getPosition() const override { return m_file->getPosition(); }
    const CStringW& getName() const override { return m_file->getName(); }

private:
    CRefPointer<IOutputFile> m_file;
};

// The disk file system with faults injected into writing and renaming.
class FaultyFileSystem : public CVirtualFileSystem {
public:
    enum Fault { None, OpenFails, ShortWrite, RenameFails };

    CRefPointer<IOutputFile> openOutputFile(const CStringW& name, bool append) override {
        if (fault == OpenFails)
            return nullptr;
        CRefPointer<IOutputFile> file = CVirtualFileSystem::openOutputFile(name, append);
        if (fault == ShortWrite && file)
            return CRefPointer<IOutputFile>(new HalfWritingFile(file));
        return file;
    }
    bool renameFile(const CStringW& from, const CStringW& to) override {
        if (beforeRename)
            beforeRename(from, to);
        return fault != RenameFails && CVirtualFileSystem::renameFile(from, to);
    }

    Fault fault = None;
    std::function<void(const CStringW&, const CStringW&)> beforeRename;
};

// What the application puts into the default sets before it loads.
void fillDefaults(CProfileManager& manager) {
    CProfileParameters& system = *manager.getSystemDefaults();
    system.setBool("VSync", true);
    system.setInt("AntiAlias", 0);
    system.setInt("VideoDriver", 2);
    CProfileParameters& player = *manager.getPlayerDefaults();
    player.setInt("MaxUnlockedLevelIndex", 0);
    player.setInt("LevelIndex", 1);
    player.setInt("LastCompletedLevelIndex", -1);
    for (const char* name : {"S1_LevelIndex", "S2_LevelIndex", "S3_LevelIndex", "S4_LevelIndex"})
        player.setInt(name, -1);
    player.setBool("SoundOn", true);
    player.setBool("MusicOn", true);
    player.setFloat("SoundVolume", 50.0f);
    player.setFloat("MusicVolume", 50.0f);
    player.setBool("WindowsCursor", false);
    player.setBool("FullScreen", true);
    player.setBool("DragViaClick", true);
    player.setBool("ShowTutorialOn", true);
    player.setInt("PlayerDifficulty", 0);
}

class ProfileManagerTest : public ::testing::Test {
protected:
    ProfileManagerTest() {
        fs::create_directories(folder.path() / "user");
        fs::create_directories(folder.path() / "common");
        files->setUserDataFolder(folder.wide("user"));
        files->setCommonDataFolder(folder.wide("common"));
    }

    CRefPointer<CProfileManager> makeManager() {
        CRefPointer<CProfileManager> manager(new CProfileManager(files));
        fillDefaults(*manager);
        return manager;
    }

    fs::path userFile() const { return folder.path() / "user" / "profile.dat"; }

    TempFolder folder;
    CRefPointer<FaultyFileSystem> files{new FaultyFileSystem};
};

TEST_F(ProfileManagerTest, WithoutFilesLoadingGivesTheDefaults) {
    const CRefPointer<CProfileManager> manager = makeManager();
    EXPECT_TRUE(manager->load());
    EXPECT_FALSE(manager->loadUserProfiles());
    EXPECT_FALSE(manager->loadCommonProfile());
    EXPECT_EQ(manager->getProfileCount(), 0);
    EXPECT_EQ(manager->getActiveProfile(), nullptr);
    const CProfileParameters& common = *manager->getCommonProfile();
    EXPECT_EQ(common.getCount(), 3);
    EXPECT_TRUE(common.getBool("VSync"));
    EXPECT_EQ(common.getInt("VideoDriver"), 2);
}

TEST_F(ProfileManagerTest, WritesTheUserFileByteForByte) {
    const CRefPointer<CProfileManager> manager = makeManager();
    manager->getCommonProfile()->setInt("VideoDriver", 2);
    ASSERT_TRUE(manager->addProfile(u"Anna"));
    ASSERT_TRUE(manager->setActiveProfile(0));
    ASSERT_TRUE(manager->saveUserProfiles());

    const std::u16string expected =
        u"<?xml version=\"1.0\"?>\r\n"
        u"<Profiles>\r\n"
        u"\t<CommonProfile>\r\n"
        u"\t\t<Parameters>\r\n"
        u"\t\t\t<int Name=\"VideoDriver\" Value=\"2\" />\r\n"
        u"\t\t</Parameters>\r\n"
        u"\t</CommonProfile>\r\n"
        u"\t<Profile Name=\"Anna\" Active=\"true\">\r\n"
        u"\t\t<Parameters>\r\n"
        u"\t\t\t<int Name=\"MaxUnlockedLevelIndex\" Value=\"0\" />\r\n"
        u"\t\t\t<int Name=\"LevelIndex\" Value=\"1\" />\r\n"
        u"\t\t\t<int Name=\"LastCompletedLevelIndex\" Value=\"-1\" />\r\n"
        u"\t\t\t<int Name=\"S1_LevelIndex\" Value=\"-1\" />\r\n"
        u"\t\t\t<int Name=\"S2_LevelIndex\" Value=\"-1\" />\r\n"
        u"\t\t\t<int Name=\"S3_LevelIndex\" Value=\"-1\" />\r\n"
        u"\t\t\t<int Name=\"S4_LevelIndex\" Value=\"-1\" />\r\n"
        u"\t\t\t<bool Name=\"SoundOn\" Value=\"true\" />\r\n"
        u"\t\t\t<bool Name=\"MusicOn\" Value=\"true\" />\r\n"
        u"\t\t\t<float Name=\"SoundVolume\" Value=\"50.000000\" />\r\n"
        u"\t\t\t<float Name=\"MusicVolume\" Value=\"50.000000\" />\r\n"
        u"\t\t\t<bool Name=\"WindowsCursor\" Value=\"false\" />\r\n"
        u"\t\t\t<bool Name=\"FullScreen\" Value=\"true\" />\r\n"
        u"\t\t\t<bool Name=\"DragViaClick\" Value=\"true\" />\r\n"
        u"\t\t\t<bool Name=\"ShowTutorialOn\" Value=\"true\" />\r\n"
        u"\t\t\t<int Name=\"PlayerDifficulty\" Value=\"0\" />\r\n"
        u"\t\t</Parameters>\r\n"
        u"\t</Profile>\r\n"
        u"</Profiles>\r\n";
    EXPECT_EQ(readBytes(userFile()), utf16File(expected));
    EXPECT_FALSE(fs::exists(folder.path() / "user" / "profile.dat.tmp"));
}

TEST_F(ProfileManagerTest, SavedSetsLoadBackTheSame) {
    const CRefPointer<CProfileManager> saved = makeManager();
    saved->load();
    saved->addProfile(u"Anna");
    saved->addProfile(u"Bört");
    saved->setActiveProfile(1);
    saved->getProfile(1)->setFloat("SoundVolume", 33.25f);
    saved->getProfile(1)->setInt("LevelIndex", 7);
    saved->getProfile(0)->setBool("MusicOn", false);
    saved->getCommonProfile()->setInt("VideoDriver", 3);
    saved->getGlobalProfile()->setInt("Installs", 4);
    ASSERT_TRUE(saved->saveUserProfiles());
    ASSERT_TRUE(saved->saveCommonProfile());
    const std::string userBytes = readBytes(userFile());

    const CRefPointer<CProfileManager> loaded = makeManager();
    loaded->getPlayerDefaults()->setInt("NewSetting", 9);
    EXPECT_TRUE(loaded->load());
    ASSERT_EQ(loaded->getProfileCount(), 2);
    EXPECT_EQ(utf8(loaded->getProfile(1)->getName()), "Bört");
    EXPECT_EQ(loaded->getActiveProfile(), loaded->getProfile(1));
    EXPECT_EQ(loaded->getProfile(1)->getFloat("SoundVolume"), 33.25f);
    EXPECT_EQ(loaded->getProfile(1)->getInt("LevelIndex"), 7);
    EXPECT_FALSE(loaded->getProfile(0)->getBool("MusicOn"));
    EXPECT_EQ(loaded->getProfile(0)->getInt("NewSetting"), 9);
    EXPECT_EQ(loaded->getCommonProfile()->getInt("VideoDriver"), 3);
    EXPECT_EQ(loaded->getGlobalProfile()->getInt("Installs"), 4);

    loaded->getPlayerDefaults()->clear();
    loaded->getProfile(0)->set("NewSetting", nullptr);
    loaded->getProfile(1)->set("NewSetting", nullptr);
    ASSERT_TRUE(loaded->saveUserProfiles());
    EXPECT_EQ(readBytes(userFile()), userBytes);
}

// What a crash during a foreign write, a disk error or a stray editor may leave behind.
TEST_F(ProfileManagerTest, DamagedUserFileLoadsWhatItCanAndTheNextSaveIsWhole) {
    const CRefPointer<CProfileManager> saved = makeManager();
    saved->load();
    saved->addProfile(u"Anna");
    saved->addProfile(u"Bob");
    saved->setActiveProfile(1);
    saved->getProfile(1)->setInt("LevelIndex", 7);
    ASSERT_TRUE(saved->saveUserProfiles());
    const std::string whole = readBytes(userFile());
    const size_t closing = whole.rfind(utf16File(u"</Profiles>").substr(2));
    ASSERT_NE(closing, std::string::npos);

    std::vector<std::string> damaged;
    for (const size_t cut : {size_t(0), size_t(1), size_t(3), size_t(41), whole.size() / 3,
                             whole.size() / 2, closing, closing + 7})
        damaged.push_back(whole.substr(0, cut));
    std::mt19937 random(15);
    std::string garbage(600, '\0');
    for (char& byte : garbage)
        byte = char(random());
    damaged.push_back(garbage);
    damaged.push_back("\xFF\xFE" + garbage);

    for (size_t i = 0; i < damaged.size(); ++i) {
        writeBytes(userFile(), damaged[i]);
        const CRefPointer<CProfileManager> manager = makeManager();
        EXPECT_FALSE(manager->loadUserProfiles()) << i;
        EXPECT_TRUE(manager->load()) << i;
        for (const char* name : {"VSync", "AntiAlias", "VideoDriver"})
            EXPECT_NE(manager->getCommonProfile()->indexOf(name), -1) << i << name;
        const CProfileParameters& defaults = *manager->getPlayerDefaults();
        for (int32_t p = 0; p < manager->getProfileCount(); ++p) {
            for (int32_t d = 0; d < defaults.getCount(); ++d)
                EXPECT_NE(manager->getProfile(p)->indexOf(defaults.getNameAt(d)), -1) << i;
        }

        ASSERT_TRUE(manager->saveUserProfiles()) << i;
        const CRefPointer<CProfileManager> reloaded = makeManager();
        EXPECT_TRUE(reloaded->loadUserProfiles()) << i;
        EXPECT_EQ(reloaded->getProfileCount(), manager->getProfileCount()) << i;
    }
}

// A damaged file holds what the player may still want back: it moves aside before the next save
// can overwrite it, under the first free name, with one warning naming both files.
TEST_F(ProfileManagerTest, ADamagedFileIsKeptBesideUnderANewNameWithOneWarning) {
    const fs::path commonFile = folder.path() / "common" / "profile.dat";
    const fs::path user = folder.path() / "user";
    const std::string cut = utf16File(u"<Profiles><Profile Name=\"Anna\"><Parameters>");
    struct Case {
        std::string userBytes;
        std::string commonBytes;
        const char* userKept;
    };
    const Case cases[] = {
        {cut, "\x13\x37 not XML", "profile.dat.damaged"},
        {"", utf16File(u"<Profiles><GlobalProfile>"), "profile.dat.damaged.2"},
    };
    for (const Case& c : cases) {
        writeBytes(userFile(), c.userBytes);
        writeBytes(commonFile, c.commonBytes);
        const CRefPointer<CProfileManager> manager = makeManager();
        testing::internal::CaptureStdout();
        EXPECT_TRUE(manager->load());
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_EQ(readBytes(user / c.userKept), c.userBytes) << c.userKept;
        EXPECT_FALSE(fs::exists(userFile()));
        const std::string userLine = "WRN: Profile file " + userFile().string() +
                                     " is damaged: kept as " + (user / c.userKept).string() +
                                     "; the next save writes a new one\r\n";
        EXPECT_NE(log.find(userLine), std::string::npos) << log;
        EXPECT_NE(log.find("WRN: Profile file " + commonFile.string() + " is damaged"),
                  std::string::npos)
            << log;
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
    }
    EXPECT_EQ(readBytes(user / "profile.dat.damaged"), cut) << "an older copy stays";
    EXPECT_EQ(readBytes(folder.path() / "common" / "profile.dat.damaged.2"),
              utf16File(u"<Profiles><GlobalProfile>"));

    const CRefPointer<CProfileManager> manager = makeManager();
    manager->load();
    ASSERT_TRUE(manager->saveUserProfiles());
    testing::internal::CaptureStdout();
    EXPECT_TRUE(makeManager()->loadUserProfiles()) << "the new file is whole";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(fs::exists(user / "profile.dat.damaged.3"));
}

TEST_F(ProfileManagerTest, NamesAreUniqueAndOnlyExactlyTrueIsActive) {
    writeBytes(userFile(), "<Profiles>"
                           "<Profile Name=\"Anna\" Active=\"True\"><Parameters>"
                           "<int Name=\"LevelIndex\" Value=\"5\"/></Parameters></Profile>"
                           "<Profile Name=\"Anna\" Active=\"true\"><Parameters>"
                           "<int Name=\"LevelIndex\" Value=\"6\"/></Parameters></Profile>"
                           "<Profile Name=\"\"><Parameters/></Profile>"
                           "</Profiles>");
    const CRefPointer<CProfileManager> manager = makeManager();
    manager->load();
    ASSERT_EQ(manager->getProfileCount(), 1);
    EXPECT_EQ(manager->getProfile(0)->getInt("LevelIndex"), 5);
    EXPECT_EQ(manager->getActiveProfile(), nullptr);
    EXPECT_FALSE(manager->addProfile(u"Anna"));
    EXPECT_EQ(manager->findProfile(u"anna"), nullptr);
}

// Each profile read is checked against all before it, so a file of many is slow to read.
TEST_F(ProfileManagerTest, ProfilesPastTheLimitAreLeftOut) {
    std::string file = "<Profiles>";
    for (int i = 0; i < CProfileManager::kMaxProfilesRead + 5; ++i)
        file += "<Profile Name=\"P" + std::to_string(i) + "\"" +
                (i == CProfileManager::kMaxProfilesRead ? " Active=\"true\"" : "") +
                "><Parameters></Parameters></Profile>";
    writeBytes(userFile(), file + "</Profiles>");
    const CRefPointer<CProfileManager> manager = makeManager();
    testing::internal::CaptureStdout();
    EXPECT_TRUE(manager->loadUserProfiles());
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(manager->getProfileCount(), CProfileManager::kMaxProfilesRead);
    EXPECT_EQ(manager->findProfile(u"P1000"), nullptr);
    EXPECT_EQ(manager->getActiveProfile(), nullptr);
    EXPECT_NE(log.find("WRN: Profiles past the first 1000 are left out: 5"), std::string::npos)
        << log;
}

// A damaged type left the name without a value, which hid the default until the next save
// dropped it: the player's volume was 0 for one run and the default after.
TEST_F(ProfileManagerTest, AValueOfAnUnknownTypeGivesWayToTheDefault) {
    writeBytes(userFile(), "<Profiles><Profile Name=\"Anna\"><Parameters>"
                           "<flaot Name=\"SoundVolume\" Value=\"12\"/>"
                           "<int Name=\"LevelIndex\" Value=\"4\"/>"
                           "</Parameters></Profile></Profiles>");
    const CRefPointer<CProfileManager> manager = makeManager();
    ASSERT_TRUE(manager->loadUserProfiles());
    const CProfileParameters& anna = *manager->getProfile(0);
    EXPECT_EQ(anna.getFloat("SoundVolume"), 50.0f);
    EXPECT_EQ(anna.indexOf("SoundVolume"), 0) << "in the place the file gave it";
    EXPECT_EQ(anna.getInt("LevelIndex"), 4);
}

TEST_F(ProfileManagerTest, EveryProfileOwnsItsValues) {
    const CRefPointer<CProfileManager> manager = makeManager();
    manager->addProfile(u"A");
    manager->addProfile(u"B");
    manager->getProfile(0)->get("LevelIndex")->fromString("5");
    EXPECT_EQ(manager->getProfile(0)->getInt("LevelIndex"), 5);
    EXPECT_EQ(manager->getProfile(1)->getInt("LevelIndex"), 1);
    EXPECT_EQ(manager->getPlayerDefaults()->getInt("LevelIndex"), 1);
}

TEST_F(ProfileManagerTest, ReportedChangesRewriteTheFileThatHoldsTheSet) {
    const CRefPointer<CProfileManager> manager = makeManager();
    EXPECT_FALSE(manager->getPlayerDefaults()->notifyChanged());
    EXPECT_FALSE(fs::exists(userFile()));
    manager->addProfile(u"A");
    manager->addProfile(u"B");
    manager->setActiveProfile(0);
    manager->removeProfile(1);
    EXPECT_EQ(manager->getActiveProfile(), nullptr);
    EXPECT_TRUE(manager->getProfile(0)->notifyChanged());
    EXPECT_TRUE(fs::exists(userFile()));
    EXPECT_TRUE(manager->getGlobalProfile()->notifyChanged());
    EXPECT_TRUE(fs::exists(folder.path() / "common" / "profile.dat"));
}

TEST_F(ProfileManagerTest, SetsHeldPastTheirManagerSaveNothing) {
    CRefPointer<CProfileManager> manager = makeManager();
    manager->addProfile(u"Kept");
    manager->addProfile(u"Removed");
    const CRefPointer<CProfileParameters> sets[] = {
        CRefPointer<CProfileParameters>::share(manager->getProfile(0)),
        CRefPointer<CProfileParameters>::share(manager->getProfile(1)),
        CRefPointer<CProfileParameters>::share(manager->getCommonProfile()),
        CRefPointer<CProfileParameters>::share(manager->getGlobalProfile()),
    };
    manager->removeProfile(1);
    EXPECT_FALSE(sets[1]->notifyChanged()) << "a removed profile belongs to no file";
    manager.reset();
    for (const CRefPointer<CProfileParameters>& set : sets)
        EXPECT_FALSE(set->notifyChanged()) << utf8(set->getName());
    EXPECT_FALSE(fs::exists(userFile()));
}

TEST_F(ProfileManagerTest, AFailedSaveKeepsTheOldFileAndSaysWhy) {
    const CRefPointer<CProfileManager> manager = makeManager();
    manager->addProfile(u"Anna");
    ASSERT_TRUE(manager->saveUserProfiles());
    const std::string old = readBytes(userFile());
    manager->addProfile(u"Bob");
    for (const auto fault : {FaultyFileSystem::OpenFails, FaultyFileSystem::ShortWrite,
                             FaultyFileSystem::RenameFails}) {
        files->fault = fault;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(manager->saveUserProfiles()) << fault;
        EXPECT_NE(testing::internal::GetCapturedStdout().find("Could not save profiles to"),
                  std::string::npos)
            << fault;
        EXPECT_EQ(readBytes(userFile()), old) << fault;
        EXPECT_FALSE(fs::exists(folder.path() / "user" / "profile.dat.tmp")) << fault;
    }
    files->fault = FaultyFileSystem::None;
    writeBytes(folder.path() / "not-a-folder", "x");
    files->setUserDataFolder(folder.wide("not-a-folder"));
    EXPECT_FALSE(manager->saveUserProfiles());
}

// The save runs in a child process, which drops root's privileges first: root writes into any
// folder.
TEST_F(ProfileManagerTest, ASaveIntoAReadOnlyFolderKeepsTheOldFile) {
    const CRefPointer<CProfileManager> manager = makeManager();
    manager->addProfile(u"Anna");
    ASSERT_TRUE(manager->saveUserProfiles());
    const std::string old = readBytes(userFile());
    const fs::path user = folder.path() / "user";
    const auto readable = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                          fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(folder.path(), readable | fs::perms::owner_write);
    fs::permissions(user, readable);
    fs::permissions(userFile(), fs::perms::owner_read | fs::perms::group_read |
                                    fs::perms::others_read | fs::perms::owner_write);
    const pid_t child = fork();
    if (child == 0) {
        const uid_t nobody = 65534;
        if (getuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0))
            _exit(2);
        manager->addProfile(u"Bob");
        _exit(manager->saveUserProfiles() ? 1 : 0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    fs::permissions(user, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(readBytes(userFile()), old);
    EXPECT_FALSE(fs::exists(user / "profile.dat.tmp"));
}

// Whenever the process might stop, one of the two files is whole: the old one until the
// rename, the new one after it.
TEST_F(ProfileManagerTest, ACrashAroundTheRenameLeavesAWholeFile) {
    const CRefPointer<CProfileManager> manager = makeManager();
    manager->addProfile(u"Anna");
    ASSERT_TRUE(manager->saveUserProfiles());
    const std::string old = readBytes(userFile());
    manager->addProfile(u"Bob");
    std::string atRenameOld;
    std::string atRenameNew;
    files->beforeRename = [&](const CStringW& from, const CStringW& to) {
        atRenameNew = readBytes(fs::path(utf8(from)));
        atRenameOld = readBytes(fs::path(utf8(to)));
    };
    ASSERT_TRUE(manager->saveUserProfiles());
    EXPECT_EQ(atRenameOld, old);
    EXPECT_EQ(atRenameNew, readBytes(userFile()));

    const CRefPointer<CProfileManager> reloaded = makeManager();
    reloaded->load();
    EXPECT_EQ(reloaded->getProfileCount(), 2);
}

} // namespace
