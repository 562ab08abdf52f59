#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Map.h"
#include "engine/core/NameId.h"
#include "engine/core/Vector2d.h"

class IInputFile;
class IOutputFile;

// A cell of the walk grid.
struct WalkGridCell {
    int32_t column = 0;
    int32_t row = 0;

    bool operator==(const WalkGridCell&) const = default;
};

// The walk grid of a level: square cells laid over the level's world coordinates, each with a
// weight (0 to 255) that makes walking through it dearer. No cell is ever forbidden, so any two
// cells of the grid are joined by a path. Characters find their way with an A* search over it.
//
// The weights come from regions: for each location template, the cells around a location's own
// cell and the weight each of them gets. A region entry packs the weight in bits 0-7, the row
// offset in bits 8-15 and the column offset in bits 16-23 (both signed bytes). The grid's file,
// "wgrid.bin", holds the cell size, the sizes, the regions and extra entries kept as they were
// read; it holds no weights.
class WalkGrid {
public:
    static constexpr int32_t kDefaultCellSize = 20;
    // 1040 x 780 world units, covering the 1024 x 768 screen.
    static constexpr int32_t kDefaultColumns = 52;
    static constexpr int32_t kDefaultRows = 39;
    // Sizes beyond this are refused: a file never makes more than 2^20 cells.
    static constexpr int32_t kMaxSide = 1024;
    // Smoothing never cuts across a cell dearer than this.
    static constexpr uint8_t kSmoothingWall = 10;

    using Region = CArray<uint32_t>;

    WalkGrid() = default;
    WalkGrid(const WalkGrid&) = delete;
    WalkGrid& operator=(const WalkGrid&) = delete;

    static uint32_t makeRegionEntry(int32_t columnOffset, int32_t rowOffset, uint8_t weight);

    // Cell size 20, 52 x 39 cells of weight 0, no regions and no extra entries.
    void setDefaults();
    // Frees the arrays, stores the sizes and allocates the cells, all of weight 0. Sizes of 0
    // or less, or above kMaxSide, leave the grid without cells.
    void allocate(int32_t columns, int32_t rows);
    // Frees the arrays; the sizes stay.
    void free();

    // Reads a "wgrid.bin". A file that is short, or whose cell size, sizes or counts are out of
    // range, is refused whole with a warning naming the file and the fault: the grid keeps
    // what it had and the answer is false.
    bool load(IInputFile& file);
    // Writes the grid's file, regions in the map's order; a region whose name is longer than a
    // byte can count is left out with a warning. False when the file takes fewer bytes.
    bool save(IOutputFile& file) const;

    // Every weight back to 0, before the regions of the level's locations are stamped again.
    void clearWeights();
    // Puts the weights of the template's region (an empty one is made when the template has
    // none) around the cell; entries that fall outside the grid are passed over, and a later
    // entry overwrites an earlier one.
    void stampRegion(WalkGridCell cell, CNameId templateName);

    // The cell of a world point, truncated toward zero; points far outside give cells far
    // outside.
    WalkGridCell cellAt(const CVector2d& point) const;
    // The world point at the middle of the cell.
    CVector2d centreOf(WalkGridCell cell) const;
    bool contains(WalkGridCell cell) const;

    // A* from the start cell to the target cell. The path is emptied, then receives the cells
    // from start to target. False, with an empty path, without cells, for a cell outside the
    // grid, or when start and target are one cell. Smooth makes a diagonal step cost 1.4 times
    // a straight one instead of 10 times, and smooths the path found.
    bool search(WalkGridCell start, WalkGridCell target, CArray<WalkGridCell>& path, bool smooth);
    // Drops the cells that a straight line from an earlier kept cell can skip without crossing
    // a cell dearer than kSmoothingWall; the first and last cells stay.
    void smoothPath(CArray<WalkGridCell>& path) const;
    // Appends the path between two world points as points from the target to the start: the
    // exact target, the middles of the cells between, the exact start. Without a grid (cell
    // size 0) the target and the start; nothing for a point outside the grid or when both
    // points lie in one cell.
    void findPath(const CVector2d& start, const CVector2d& target, CArray<CVector2d>& points,
                  bool smooth);

    int32_t getCellSize() const { return m_cellSize; }
    int32_t getColumns() const { return m_columns; }
    int32_t getRows() const { return m_rows; }
    bool hasCells() const { return m_weights.size() != 0; }
    // 0 outside the grid.
    uint8_t getWeight(WalkGridCell cell) const;
    // Cells outside the grid are passed over.
    void setWeight(WalkGridCell cell, uint8_t weight);

    const CMap<CNameId, Region>& getRegions() const { return m_regions; }
    // The template's region, made empty when it has none.
    Region& getRegion(CNameId templateName) { return m_regions[templateName]; }
    const CArray<uint32_t>& getExtraEntries() const { return m_extraEntries; }

private:
    uint32_t indexOf(WalkGridCell cell) const { return uint32_t(cell.column * m_rows + cell.row); }
    WalkGridCell cellOf(uint32_t index) const {
        return {int32_t(index / uint32_t(m_rows)), int32_t(index % uint32_t(m_rows))};
    }
    float estimate(uint32_t index, WalkGridCell target) const;
    void openCell(uint32_t index, uint32_t parent, float cost, WalkGridCell target);
    void improveCell(uint32_t index, uint32_t parent, float cost, WalkGridCell target);
    void visitNeighbours(uint32_t current, WalkGridCell target, float diagonalFactor);
    uint32_t popCheapest();
    void siftUp(uint32_t position, bool overEqual);
    void swapHeapItems(uint32_t a, uint32_t b);
    void tracePath(uint32_t startIndex, uint32_t targetIndex, CArray<WalkGridCell>& path) const;
    bool isLineClear(WalkGridCell from, WalkGridCell to) const;
    bool containsPoint(const CVector2d& point) const;

    int32_t m_cellSize = 0;
    int32_t m_columns = 0;
    int32_t m_rows = 0;
    CMap<CNameId, Region> m_regions;
    CArray<uint32_t> m_extraEntries;

    // Per cell, [column * rows + row]: the weight, then the search's state, allocated with the
    // cells and reused by every search.
    CArray<uint8_t> m_weights;
    CArray<uint8_t> m_marks;
    CArray<uint32_t> m_parents;
    CArray<float> m_costs;
    CArray<float> m_totals;
    CArray<uint32_t> m_heapPositions;
    // The open list: a binary heap of cells ordered by total, positions 1 to m_openCount.
    CArray<uint32_t> m_heap;
    uint32_t m_openCount = 0;
    // The cells of findPath's search, kept so that a search allocates only its points.
    CArray<WalkGridCell> m_cellPath;
};
