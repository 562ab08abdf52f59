#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IVirtualFilesReader.h"
#include "engine/io/Path.h"

// What the readers of archive files share: the file, its path, and the entries, read once and
// then sorted by name (CStringW::lessThan: letter case and separators count) so that names are
// looked up by binary search. Entries of equal names keep their order in the archive.
template <typename Entry>
class CSortedArchiveReader : public IVirtualFilesReader {
public:
    CStringW archivePath() const override { return m_archivePath; }
    uint32_t entryCount() const override { return m_entries.size(); }
    CRefPointer<IInputFile> openEntry(const CStringW& name) override;
    int32_t indexOfName(const CStringW& name) override;
    const VirtualFileEntry* entryAt(uint32_t index) const override;

protected:
    // Takes a reference to file, which may be none.
    explicit CSortedArchiveReader(IInputFile* file);
    ~CSortedArchiveReader() override = default;

    // Called once all entries are read.
    void sortEntries();

    CRefPointer<IInputFile> m_file;
    uint32_t m_fileLength = 0;
    CArray<Entry> m_entries;

private:
    // The file's name with '/' separators.
    CStringW m_archivePath;
};

template <typename Entry>
CSortedArchiveReader<Entry>::CSortedArchiveReader(IInputFile* file)
    : m_file(CRefPointer<IInputFile>::share(file)) {
    if (!file) {
        return;
    }
    m_fileLength = uint32_t(file->getLength());
    m_archivePath = withForwardSlashes(file->getName());
}

template <typename Entry>
void CSortedArchiveReader<Entry>::sortEntries() {
    std::stable_sort(m_entries.begin(), m_entries.end(), [](const Entry& left, const Entry& right) {
        return left.name.lessThan(right.name);
    });
}

template <typename Entry>
CRefPointer<IInputFile> CSortedArchiveReader<Entry>::openEntry(const CStringW& name) {
    const int32_t index = indexOfName(name);
    return index < 0 ? nullptr : openEntryAt(uint32_t(index));
}

template <typename Entry>
int32_t CSortedArchiveReader<Entry>::indexOfName(const CStringW& name) {
    int32_t low = 0;
    int32_t high = int32_t(m_entries.size()) - 1;
    while (low <= high) {
        const int32_t middle = low + (high - low) / 2;
        const CStringW& found = m_entries[uint32_t(middle)].name;
        if (found == name) {
            return middle;
        }
        if (name.lessThan(found)) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return -1;
}

template <typename Entry>
const VirtualFileEntry* CSortedArchiveReader<Entry>::entryAt(uint32_t index) const {
    return index < m_entries.size() ? &m_entries[index] : nullptr;
}
