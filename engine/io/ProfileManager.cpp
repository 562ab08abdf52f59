#include "engine/io/ProfileManager.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "engine/core/Logger.h"
#include "engine/io/Path.h"
#include "engine/io/VirtualFile.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"

namespace {

constexpr uint32_t kMemoryBlockSize = 65536;
constexpr int32_t kCopyChunk = 4096;
// Past this many the last name is used again.
constexpr uint32_t kMaxKeptDamagedFiles = 99;

// Pushes the file's data to the disk. The size check catches a last write that failed only
// when the file was closed.
bool syncFile(const CStringW& path, int32_t expectedLength) {
    const int fd = ::open(toDiskPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    const bool synced =
        ::fstat(fd, &info) == 0 && info.st_size == expectedLength && ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// Makes the rename itself durable; the new file is in place whatever this answers.
void syncFolder(const CStringW& path) {
    const int fd =
        ::open(toDiskPath(getDirectoryPart(path)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

CProfileManager::CProfileManager(CRefPointer<IVirtualFileSystem> fileSystem)
    : m_fileSystem(std::move(fileSystem)), m_systemDefaults(new CProfileParameters(this)),
      m_playerDefaults(new CProfileParameters(this)), m_globalProfile(new CProfileParameters(this)),
      m_commonProfile(new CProfileParameters(this)) {}

// Sets may outlive the manager in their holders' hands; they must not call back into it.
CProfileManager::~CProfileManager() {
    for (CProfileParameters* set : {m_systemDefaults.get(), m_playerDefaults.get(),
                                    m_globalProfile.get(), m_commonProfile.get()})
        set->detachFromManager();
    for (const CRefPointer<CProfileParameters>& profile : m_profiles)
        profile->detachFromManager();
}

CProfileParameters* CProfileManager::getProfile(int32_t index) const {
    return index >= 0 && index < getProfileCount() ? m_profiles[uint32_t(index)].get() : nullptr;
}

CProfileParameters* CProfileManager::findProfile(const CStringW& name) const {
    for (const CRefPointer<CProfileParameters>& profile : m_profiles) {
        if (profile->getName() == name)
            return profile.get();
    }
    return nullptr;
}

bool CProfileManager::setActiveProfile(int32_t index) {
    CProfileParameters* profile = getProfile(index);
    if (!profile)
        return false;
    m_activeProfile = profile;
    return true;
}

bool CProfileManager::addProfile(const CStringW& name) {
    if (findProfile(name))
        return false;
    CRefPointer<CProfileParameters> profile(new CProfileParameters(this));
    profile->setName(name);
    profile->addMissingFrom(*m_playerDefaults);
    m_profiles.append(std::move(profile));
    return true;
}

void CProfileManager::removeProfile(int32_t index) {
    if (!getProfile(index))
        return;
    m_activeProfile = nullptr;
    m_profiles[uint32_t(index)]->detachFromManager();
    m_profiles.eraseAt(uint32_t(index));
}

bool CProfileManager::load() {
    loadUserProfiles();
    loadCommonProfile();
    m_commonProfile->addMissingFrom(*m_systemDefaults);
    return true;
}

bool CProfileManager::loadUserProfiles() {
    const CStringW path = profilePath(m_fileSystem->getUserDataFolder());
    const CRefPointer<CXmlTextReader> reader = openProfileReader(path);
    if (!reader)
        return false;
    uint32_t leftOut = 0;
    bool whole = false;
    while (!whole && reader->readNext()) {
        whole =
            reader->nodeKind() == CXmlTextReader::kEndElement && reader->nodeName() == u"Profiles";
        if (reader->nodeKind() == CXmlTextReader::kElement)
            readUserElement(*reader, leftOut);
    }
    if (leftOut > 0) {
        CStringW line(u"Profiles past the first ");
        line.append(kMaxProfilesRead).append(u" are left out: ").append(leftOut);
        CLogger::instance()->log(line, CLogger::LevelWarning);
    }
    if (!whole)
        keepDamagedFile(path);
    return whole;
}

// A profile whose name is empty or taken, or that comes past the limit, is skipped; its values
// are then read over as unknown nodes.
void CProfileManager::readUserElement(CXmlTextReader& reader, uint32_t& leftOut) {
    if (reader.nodeName() == u"CommonProfile") {
        m_commonProfile->readParameters(&reader);
        return;
    }
    if (!(reader.nodeName() == u"Profile"))
        return;
    if (getProfileCount() >= kMaxProfilesRead) {
        ++leftOut;
        return;
    }
    const CStringW name = reader.getAttribute(u"Name");
    const bool active = reader.getAttribute(u"Active") == u"true";
    if (name.isEmpty() || !addProfile(name))
        return;
    CProfileParameters* profile = m_profiles[m_profiles.size() - 1].get();
    profile->readParameters(&reader);
    profile->addMissingFrom(*m_playerDefaults);
    if (active)
        m_activeProfile = profile;
}

bool CProfileManager::loadCommonProfile() {
    const CStringW path = profilePath(m_fileSystem->getCommonDataFolder());
    const CRefPointer<CXmlTextReader> reader = openProfileReader(path);
    if (!reader)
        return false;
    while (reader->readNext()) {
        const int32_t kind = reader->nodeKind();
        if (kind == CXmlTextReader::kEndElement && reader->nodeName() == u"Profiles")
            return true;
        if (kind == CXmlTextReader::kElement && reader->nodeName() == u"GlobalProfile")
            m_globalProfile->readParameters(reader.get());
    }
    keepDamagedFile(path);
    return false;
}

// The next save would overwrite what the player may still want back: the damaged file moves
// to the first free name of "profile.dat.damaged", "profile.dat.damaged.2" and so on.
void CProfileManager::keepDamagedFile(const CStringW& path) {
    CStringW kept = path + u".damaged";
    for (uint32_t number = 2;
         number <= kMaxKeptDamagedFiles && m_fileSystem->fileExists(kept, false); ++number) {
        kept = path + u".damaged.";
        kept.append(unsigned(number));
    }
    CStringW line(u"Profile file ");
    line.append(path);
    if (m_fileSystem->renameFile(path, kept))
        line.append(u" is damaged: kept as ")
            .append(kept)
            .append(u"; the next save writes a new one");
    else
        line.append(u" is damaged and cannot be kept as ")
            .append(kept)
            .append(u"; the next save replaces it");
    CLogger::instance()->log(line, CLogger::LevelWarning);
}

bool CProfileManager::saveUserProfiles() {
    return writeProfileFile(profilePath(m_fileSystem->getUserDataFolder()), true);
}

bool CProfileManager::saveCommonProfile() {
    return writeProfileFile(profilePath(m_fileSystem->getCommonDataFolder()), false);
}

bool CProfileManager::onParametersChanged(CProfileParameters* set) {
    if (!set)
        return false;
    if (set == m_globalProfile.get())
        return saveCommonProfile();
    if (set == m_commonProfile.get())
        return saveUserProfiles();
    for (const CRefPointer<CProfileParameters>& profile : m_profiles) {
        if (profile.get() == set)
            return saveUserProfiles();
    }
    return false;
}

CStringW CProfileManager::profilePath(const CStringW& folder) {
    return folder.isEmpty() ? CStringW() : folder + u"/profile.dat";
}

// A damaged file is reported with the name it is kept under.
CRefPointer<CXmlTextReader> CProfileManager::openProfileReader(const CStringW& path) {
    const CRefPointer<IInputFile> file = openScrambledFile(path);
    CRefPointer<CXmlTextReader> reader = file ? m_fileSystem->openXmlReader(file.get()) : nullptr;
    if (reader)
        reader->setDamageReported(false);
    return reader;
}

// The whole document is made in memory first, so that the file on disk is replaced at once.
bool CProfileManager::writeProfileFile(const CStringW& path, bool userFile) {
    if (path.isEmpty())
        return failSave(u"profile.dat", u"the data folder is unknown");
    const CRefPointer<CVirtualFile> memory(new CVirtualFile(u"profile.dat", kMemoryBlockSize));
    {
        const CRefPointer<CXmlTextWriter> writer =
            m_fileSystem->openXmlWriter(CRefPointer<IOutputFile>(memory));
        if (!writer)
            return failSave(path, u"no XML writer");
        writer->writeHeader();
        writer->openElement(u"Profiles", false);
        writer->writeNewLine();
        if (userFile) {
            writeUserSets(*writer);
        } else {
            writer->openElement(u"GlobalProfile", false);
            writer->writeNewLine();
            m_globalProfile->writeParameters(writer.get());
            writer->closeElement(u"GlobalProfile");
            writer->writeNewLine();
        }
        writer->closeElement(u"Profiles");
        writer->writeNewLine();
    }
    memory->seekTo(0, false);
    return writeScrambledFile(memory.get(), path);
}

void CProfileManager::writeUserSets(CXmlTextWriter& writer) const {
    writer.openElement(u"CommonProfile", false);
    writer.writeNewLine();
    m_commonProfile->writeParameters(&writer);
    writer.closeElement(u"CommonProfile");
    writer.writeNewLine();
    for (const CRefPointer<CProfileParameters>& profile : m_profiles) {
        const bool active = profile.get() == m_activeProfile;
        writer.openElement(u"Profile", false, u"Name", profile->getName().c_str(),
                           active ? u"Active" : nullptr, active ? u"true" : nullptr);
        writer.writeNewLine();
        profile->writeParameters(&writer);
        writer.closeElement(u"Profile");
        writer.writeNewLine();
    }
}

CRefPointer<IInputFile> CProfileManager::openScrambledFile(const CStringW& path) {
    if (path.isEmpty())
        return nullptr;
    const CRefPointer<IInputFile> disk = m_fileSystem->openInputFile(path);
    if (!disk)
        return nullptr;
    CRefPointer<CVirtualFile> memory(new CVirtualFile(u"profile.dat", kMemoryBlockSize));
    xorCopy(*disk, *memory);
    memory->seekTo(0, false);
    return memory;
}

// A crash at any point leaves the old file or the new one whole: the new bytes reach the disk
// under another name before a rename, atomic on the file system, puts them in place.
bool CProfileManager::writeScrambledFile(IInputFile* file, const CStringW& path) {
    if (!file)
        return false;
    const CStringW temporary = path + u".tmp";
    CRefPointer<IOutputFile> output = m_fileSystem->openOutputFile(temporary, false);
    if (!output)
        return failSave(path, u"the new file cannot be created");
    const bool copied = xorCopy(*file, *output);
    output.reset();
    if (!copied || !syncFile(temporary, file->getLength())) {
        m_fileSystem->removeFile(temporary);
        return failSave(path, u"the new file cannot be written in full");
    }
    if (!m_fileSystem->renameFile(temporary, path)) {
        m_fileSystem->removeFile(temporary);
        return failSave(path, u"the new file cannot replace the old one");
    }
    syncFolder(path);
    return true;
}

bool CProfileManager::xorCopy(IInputFile& input, IOutputFile& output) {
    uint8_t buffer[kCopyChunk];
    for (;;) {
        const int32_t count = input.readBytes(buffer, kCopyChunk);
        if (count <= 0)
            return true;
        if (output.writeBytes(buffer, count) != count)
            return false;
    }
}

bool CProfileManager::failSave(const CStringW& path, const char16_t* reason) {
    CStringW line(u"Could not save profiles to ");
    line.append(path).append(u": ").append(reason);
    CLogger::instance()->log(line, CLogger::LevelError);
    return false;
}
