#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/level/WalkGrid.h"
#include "tests/level/WalkGridFixtures.h"

namespace {

TEST(WalkGridSearchTest, PathsFollowTheWeightsAndTheDiagonalCost) {
    struct Case {
        const char* what;
        std::vector<std::string> grid;
        WalkGridCell start;
        WalkGridCell target;
        bool smooth;
        const char* path; // empty: no path
    };
    const Case cases[] = {
        {"one cell", {"..."}, {1, 0}, {1, 0}, false, ""},
        {"neighbours", {"..."}, {0, 0}, {1, 0}, false, "(0,0)(1,0)"},
        {"a wall with no way round is crossed",
         {".#.", ".#.", ".#."},
         {0, 0},
         {2, 0},
         false,
         "(0,0)(1,0)(2,0)"},
        // The search ends as soon as the target is put on the open list, so the last step
        // may be a diagonal one.
        {"a wall with a way round is passed",
         {".#.", "..."},
         {0, 0},
         {2, 0},
         false,
         "(0,0)(0,1)(1,1)(2,0)"},
        {"diagonals cost ten steps",
         {"...", "...", "..."},
         {0, 0},
         {2, 2},
         false,
         "(0,0)(0,1)(1,1)(2,2)"},
        {"diagonals cost 1.4 steps, then smoothing",
         {"...", "...", "..."},
         {0, 0},
         {2, 2},
         true,
         "(0,0)(2,2)"},
        {"smoothing stops at a weight above 10",
         {".....", "x#...", "....."},
         {0, 0},
         {4, 2},
         true,
         "(0,0)(2,1)(4,2)"},
        {"unsmoothed round the same cells",
         {".....", "x#...", "....."},
         {0, 0},
         {4, 2},
         false,
         "(0,0)(1,0)(2,0)(3,0)(4,0)(4,1)(4,2)"},
        {"start left of the grid", {"..."}, {-1, 0}, {1, 0}, false, ""},
        {"start above the grid", {"..."}, {1, -1}, {1, 0}, false, ""},
        {"target right of the grid", {"..."}, {0, 0}, {3, 0}, false, ""},
        {"target below the grid", {"..."}, {0, 0}, {0, 1}, false, ""},
    };
    for (const Case& c : cases) {
        WalkGrid grid;
        drawGrid(grid, c.grid);
        CArray<WalkGridCell> path;
        path.append({9, 9});
        const bool found = grid.search(c.start, c.target, path, c.smooth);
        EXPECT_EQ(found, *c.path != 0) << c.what;
        EXPECT_EQ(describeCells(path), c.path) << c.what;
    }
}

TEST(WalkGridSearchTest, AGridWithoutCellsFindsNothing) {
    WalkGrid grid;
    CArray<WalkGridCell> path;
    EXPECT_FALSE(grid.search({0, 0}, {1, 0}, path, false));
    grid.setDefaults();
    grid.free();
    EXPECT_FALSE(grid.search({0, 0}, {1, 0}, path, false));
    EXPECT_EQ(path.size(), 0u);
}

// The path turns a corner at (2,0); the cell inside the corner decides whether a straight line
// may cut it.
TEST(WalkGridSearchTest, SmoothingCutsCellsUpToWeight10AndKeepsBothEnds) {
    struct Case {
        uint8_t corner;
        const char* smoothed;
    };
    const Case cases[] = {
        {0, "(0,0)(2,2)"},       {1, "(0,0)(2,2)"},        {10, "(0,0)(2,2)"},
        {11, "(0,0)(2,1)(2,2)"}, {255, "(0,0)(2,1)(2,2)"},
    };
    for (const Case& c : cases) {
        WalkGrid grid;
        drawGrid(grid, {"...", "...", "..."});
        grid.setWeight({1, 1}, c.corner);
        CArray<WalkGridCell> path;
        for (const WalkGridCell cell : {WalkGridCell{0, 0}, WalkGridCell{1, 0}, WalkGridCell{2, 0},
                                        WalkGridCell{2, 1}, WalkGridCell{2, 2}})
            path.append(cell);
        grid.smoothPath(path);
        EXPECT_EQ(describeCells(path), c.smoothed) << int(c.corner);
    }
}

TEST(WalkGridSearchTest, FindPathGivesWorldPointsFromTheTargetBackToTheStart) {
    WalkGrid grid;
    grid.setDefaults();
    struct Case {
        const char* what;
        CVector2d start;
        CVector2d target;
        const char* points;
    };
    const Case cases[] = {
        {"a row", {5, 5}, {65, 5}, "(65,5)(50,10)(30,10)(5,5)"},
        {"neighbouring cells", {5, 5}, {25, 7}, "(25,7)(5,5)"},
        {"one cell", {5, 5}, {15, 15}, ""},
        {"start left of the grid", {-1, 5}, {65, 5}, ""},
        {"start above the grid", {5, -0.5f}, {65, 5}, ""},
        {"target right of the grid", {5, 5}, {1040, 5}, ""},
        {"target below the grid", {5, 5}, {65, 780}, ""},
        {"target not a number", {5, 5}, {NAN, 5}, ""},
    };
    for (const Case& c : cases) {
        CArray<CVector2d> points;
        grid.findPath(c.start, c.target, points, false);
        EXPECT_EQ(describePoints(points), c.points) << c.what;
    }
}

TEST(WalkGridSearchTest, WithoutAGridTheWayIsStraightFromStartToTarget) {
    WalkGrid grid;
    CArray<CVector2d> points;
    grid.findPath({-50, 7}, {3000, 9}, points, true);
    EXPECT_EQ(describePoints(points), "(3000,9)(-50,7)");
}

} // namespace
