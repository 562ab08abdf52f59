#include <utility>

#include "engine/core/Logger.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IOutputFile.h"
#include "engine/io/LittleEndian.h"
#include "game/level/WalkGrid.h"

// "wgrid.bin", little-endian: cell size, columns, rows (32 bits each); the count of extra
// entries and the entries (32 bits each); the count of regions and, for each, the name's length
// (8 bits), the name, the count of entries and the entries (32 bits each). The file comes with
// the content, so every count is checked against the bytes that are left before anything is
// read for it.

namespace {

// The smallest region record: a name length and an entry count.
constexpr uint32_t kMinRegionBytes = 5;
constexpr uint32_t kMaxNameLength = 255;

struct WalkGridFileContent {
    int32_t cellSize = 0;
    int32_t columns = 0;
    int32_t rows = 0;
    CArray<uint32_t> extraEntries;
    CMap<CNameId, WalkGrid::Region> regions;
};

class WalkGridReader {
public:
    explicit WalkGridReader(IInputFile& file) : m_file(file) {}

    uint32_t bytesLeft() const {
        const int32_t left = m_file.getLength() - m_file.getPosition();
        return left > 0 ? uint32_t(left) : 0;
    }
    bool readBytes(void* data, uint32_t count) {
        return m_file.readBytes(data, int32_t(count)) == int32_t(count);
    }
    bool readUnsigned(uint32_t& value) {
        uint8_t bytes[4];
        if (!readBytes(bytes, 4))
            return false;
        value = readU32(bytes);
        return true;
    }
    bool readSigned(int32_t& value) {
        uint32_t bits = 0;
        const bool read = readUnsigned(bits);
        value = int32_t(bits);
        return read;
    }
    // Appends count entries; false when fewer bytes are left.
    bool readEntries(uint32_t count, CArray<uint32_t>& entries) {
        if (count > bytesLeft() / 4)
            return false;
        entries.reallocate(entries.size() + count);
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t entry = 0;
            if (!readUnsigned(entry))
                return false;
            entries.append(entry);
        }
        return true;
    }

private:
    IInputFile& m_file;
};

bool isSide(int32_t cells) {
    return cells > 0 && cells <= WalkGrid::kMaxSide;
}

// The fault of the file, or none when it reads whole.
const char16_t* readRegion(WalkGridReader& reader, WalkGridFileContent& content) {
    uint8_t nameLength = 0;
    if (!reader.readBytes(&nameLength, 1))
        return u"the file ends early";
    if (nameLength > reader.bytesLeft())
        return u"a region name runs past the end of the file";
    char name[kMaxNameLength + 1] = {};
    uint32_t count = 0;
    if (!reader.readBytes(name, nameLength) || !reader.readUnsigned(count))
        return u"the file ends early";
    CString text;
    text.assign(name, nameLength);
    if (!reader.readEntries(count, content.regions[CNameId(text)]))
        return u"a region's entries run past the end of the file";
    return nullptr;
}

const char16_t* readContent(WalkGridReader& reader, WalkGridFileContent& content) {
    if (!reader.readSigned(content.cellSize))
        return u"the file ends early";
    if (content.cellSize <= 0)
        return u"the cell size is 0 or less";
    if (!reader.readSigned(content.columns) || !reader.readSigned(content.rows))
        return u"the file ends early";
    if (!isSide(content.columns) || !isSide(content.rows))
        return u"the grid is not 1 to 1024 columns by 1 to 1024 rows";
    uint32_t extraCount = 0;
    if (!reader.readUnsigned(extraCount))
        return u"the file ends early";
    if (!reader.readEntries(extraCount, content.extraEntries))
        return u"the extra entries run past the end of the file";
    uint32_t regionCount = 0;
    if (!reader.readUnsigned(regionCount))
        return u"the file ends early";
    if (regionCount > reader.bytesLeft() / kMinRegionBytes)
        return u"the regions run past the end of the file";
    for (uint32_t i = 0; i < regionCount; ++i) {
        if (const char16_t* fault = readRegion(reader, content))
            return fault;
    }
    return nullptr;
}

void appendU32(CArray<uint8_t>& bytes, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(uint8_t(value >> shift));
}

} // namespace

static_assert(int64_t(WalkGrid::kMaxSide) * WalkGrid::kMaxSide <= int64_t(1) << 20,
              "a file makes at most 2^20 cells");

bool WalkGrid::load(IInputFile& file) {
    WalkGridFileContent content;
    WalkGridReader reader(file);
    if (const char16_t* fault = readContent(reader, content)) {
        CLogger::instance()->log(u"Walk grid " + file.getName() + u" refused: " + fault,
                                 CLogger::LevelWarning);
        return false;
    }
    m_cellSize = content.cellSize;
    allocate(content.columns, content.rows);
    m_extraEntries = std::move(content.extraEntries);
    m_regions = std::move(content.regions);
    return true;
}

bool WalkGrid::save(IOutputFile& file) const {
    CArray<uint8_t> bytes;
    appendU32(bytes, uint32_t(m_cellSize));
    appendU32(bytes, uint32_t(m_columns));
    appendU32(bytes, uint32_t(m_rows));
    appendU32(bytes, m_extraEntries.size());
    for (uint32_t entry : m_extraEntries)
        appendU32(bytes, entry);
    uint32_t regionCount = 0;
    for (const auto& region : m_regions)
        regionCount += region.key.toString().length() <= kMaxNameLength ? 1 : 0;
    appendU32(bytes, regionCount);
    for (const auto& region : m_regions) {
        const CString& name = region.key.toString();
        if (name.length() > kMaxNameLength) {
            CLogger::instance()->log(u"Walk grid region not saved, its name is too long: " +
                                         CStringW(name.c_str()),
                                     CLogger::LevelWarning);
            continue;
        }
        bytes.append(uint8_t(name.length()));
        for (uint32_t i = 0; i < name.length(); ++i)
            bytes.append(uint8_t(name[i]));
        appendU32(bytes, region.value.size());
        for (uint32_t entry : region.value)
            appendU32(bytes, entry);
    }
    return file.writeBytes(bytes.data(), int32_t(bytes.size())) == int32_t(bytes.size());
}
