// Reads arbitrary bytes as a "wgrid.bin". A grid that loads has its regions stamped around a
// cell, one path searched between two points, both picked by the input's last bytes (which
// the file format leaves unread), and is saved; reading the saved file back and saving again
// must give the same bytes. Grids of more than 256 x 256 cells are only loaded, so that the
// fuzzer does not spend its time clearing millions of cells.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/core/Array.h"
#include "engine/core/Logger.h"
#include "engine/core/RefPointer.h"
#include "engine/io/VirtualFile.h"
#include "fuzz/FuzzInputFile.h"
#include "game/level/WalkGrid.h"

namespace {

constexpr int32_t kMaxSearchedCells = 256 * 256;

std::string savedBytes(const WalkGrid& grid) {
    const CRefPointer<CVirtualFile> file(new CVirtualFile(u"wgrid.bin", 4096));
    if (!grid.save(*file))
        std::abort();
    std::string bytes(size_t(file->getLength()), '\0');
    file->seekTo(0, false);
    file->readBytes(bytes.data(), int32_t(bytes.size()));
    return bytes;
}

// A world point from two bytes, reaching a little past the grid on every side.
CVector2d pointFrom(const WalkGrid& grid, uint8_t x, uint8_t y) {
    const float width = float(grid.getColumns()) * float(grid.getCellSize());
    const float height = float(grid.getRows()) * float(grid.getCellSize());
    return {(float(x) - 8) / 240 * width, (float(y) - 8) / 240 * height};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 18))
        return 0;
    // A fuzzed file draws a warning at nearly every run.
    CLogger::instance()->setMinLevel(CLogger::LevelError);
    WalkGrid grid;
    grid.setDefaults();
    if (!grid.load(*makeFuzzInputFile(data, size, u"wgrid.bin")) || size < 5 ||
        grid.getColumns() * grid.getRows() > kMaxSearchedCells)
        return 0;
    const uint8_t* picks = data + size - 5;

    grid.clearWeights();
    const WalkGridCell at = grid.cellAt(pointFrom(grid, picks[0], picks[1]));
    for (const auto& region : grid.getRegions())
        grid.stampRegion(at, region.key);
    CArray<CVector2d> points;
    grid.findPath(pointFrom(grid, picks[1], picks[2]), pointFrom(grid, picks[3], picks[4]), points,
                  (picks[0] & 1) != 0);

    const std::string saved = savedBytes(grid);
    WalkGrid reloaded;
    auto* copy = reinterpret_cast<const uint8_t*>(saved.data());
    if (!reloaded.load(*makeFuzzInputFile(copy, saved.size(), u"saved")) ||
        savedBytes(reloaded) != saved)
        std::abort();
    return 0;
}
