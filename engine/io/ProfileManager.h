#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IOutputFile.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/ProfileParameters.h"

// The player profiles and the sets around them: the common set shared by the user's players
// (the video driver among its settings) and the profiles live in "profile.dat" in the user
// data folder; the global set shared by every user lives in "profile.dat" in the common data
// folder. System defaults reach the common set at every load, player defaults every profile
// as it is added; values read from a file win over defaults. A file is rewritten whenever a
// set held in it is reported changed; a save never leaves a damaged or half-written file.
class CProfileManager : public CRefCounted {
public:
    // Profiles read from a file past this many are left out: each one read is checked against
    // all before it, and no player keeps more.
    static constexpr int32_t kMaxProfilesRead = 1000;

    explicit CProfileManager(CRefPointer<IVirtualFileSystem> fileSystem);
    CProfileManager(const CProfileManager&) = delete;
    CProfileManager& operator=(const CProfileManager&) = delete;

    CProfileParameters* getSystemDefaults() const { return m_systemDefaults.get(); }
    CProfileParameters* getPlayerDefaults() const { return m_playerDefaults.get(); }
    CProfileParameters* getGlobalProfile() const { return m_globalProfile.get(); }
    CProfileParameters* getCommonProfile() const { return m_commonProfile.get(); }
    // None until a profile is made active, and again after any profile is removed.
    CProfileParameters* getActiveProfile() const { return m_activeProfile; }

    int32_t getProfileCount() const { return int32_t(m_profiles.size()); }
    // None out of range.
    CProfileParameters* getProfile(int32_t index) const;
    // The first profile of exactly that name, or none.
    CProfileParameters* findProfile(const CStringW& name) const;
    // False, changing nothing, out of range.
    bool setActiveProfile(int32_t index);
    // A new profile with the player defaults; false when the name is taken.
    bool addProfile(const CStringW& name);
    void removeProfile(int32_t index);

    // Reads both files, then gives the common set the system defaults it lacks; true.
    bool load();
    // False when the file is missing, or when it ends before its closing "Profiles" tag
    // (empty, cut short or garbled): what could be read before the damage is kept, and the
    // defaults fill in the rest; the damaged file is kept beside under a new name, with a
    // warning naming both, so that the next save does not overwrite it.
    bool loadUserProfiles();
    bool loadCommonProfile();
    // False, leaving the old file whole, when the file cannot be written.
    bool saveUserProfiles();
    bool saveCommonProfile();
    // Saves the file holding the set; false for the default sets and for sets of no file.
    bool onParametersChanged(CProfileParameters* set);

    // The file's bytes in a memory file at position 0, or none when it does not open.
    CRefPointer<IInputFile> openScrambledFile(const CStringW& path);
    // Writes the file beside path, flushes it to the disk and only then puts it in place of
    // the old one; false (logged) when any step fails, the old file untouched.
    bool writeScrambledFile(IInputFile* file, const CStringW& path);
    // Copies the rest of input to output through the XOR step, whose key is empty, so the
    // bytes pass unchanged; false when output took fewer bytes than it was given.
    static bool xorCopy(IInputFile& input, IOutputFile& output);

protected:
    ~CProfileManager() override;

private:
    // "profile.dat" in the folder; empty when the folder is unknown.
    static CStringW profilePath(const CStringW& folder);
    CRefPointer<CXmlTextReader> openProfileReader(const CStringW& path);
    // Counts the profiles it leaves out past kMaxProfilesRead.
    void readUserElement(CXmlTextReader& reader, uint32_t& leftOut);
    bool writeProfileFile(const CStringW& path, bool userFile);
    void writeUserSets(CXmlTextWriter& writer) const;
    bool failSave(const CStringW& path, const char16_t* reason);
    void keepDamagedFile(const CStringW& path);

    CRefPointer<IVirtualFileSystem> m_fileSystem;
    CRefPointer<CProfileParameters> m_systemDefaults;
    CRefPointer<CProfileParameters> m_playerDefaults;
    CRefPointer<CProfileParameters> m_globalProfile;
    CRefPointer<CProfileParameters> m_commonProfile;
    CProfileParameters* m_activeProfile = nullptr;
    CArray<CRefPointer<CProfileParameters>> m_profiles;
};
