#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/core/String.h"
#include "engine/core/Utf.h"

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantor-XXXXXX").string();
        if (::mkdtemp(pattern.data())) {
            m_path = pattern;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!m_path.empty()) {
            std::filesystem::remove_all(m_path, ignored);
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The engine's wide name of a file in the folder; name is UTF-8.
    CStringW wide(const std::string& name = "") const {
        return utf8ToUtf16((m_path / name).string().c_str());
    }

private:
    std::filesystem::path m_path;
};
