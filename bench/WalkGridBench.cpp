// The walk grid's A* search beside Boost.Graph's astar_search on the same grid: the same cells,
// the same cost of entering a cell (its weight + 1, ten times that for a diagonal step), the
// same estimate (cells across plus cells down) and the same end, as soon as the target is
// first reached. Both then trace the path back.
#include <benchmark/benchmark.h>

#include <boost/graph/adjacency_list.hpp>
#include <boost/graph/astar_search.hpp>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench/AllocationCounter.h"
#include "game/level/WalkGrid.h"

namespace {

struct Query {
    WalkGridCell start;
    WalkGridCell target;
};

constexpr float kDiagonalFactor = 10.0f;
constexpr int kQueries = 32;

CNameId name(const char* text) {
    return CNameId(CString(text));
}

void defaultGrid(WalkGrid& grid) {
    grid.setDefaults();
}

// Pads of 255 with a dear ring, and counters, stamped from their regions all over the grid.
void weightedGrid(WalkGrid& grid) {
    grid.setDefaults();
    grid.allocate(127, 127);
    WalkGrid::Region& pad = grid.getRegion(name("BenchPad"));
    for (int32_t column = -2; column <= 2; ++column) {
        for (int32_t row = -2; row <= 2; ++row) {
            const bool ring = std::abs(column) == 2 || std::abs(row) == 2;
            pad.append(WalkGrid::makeRegionEntry(column, row, ring ? 5 : 255));
        }
    }
    WalkGrid::Region& counter = grid.getRegion(name("BenchCounter"));
    for (int32_t column = -7; column <= 7; ++column)
        counter.append(WalkGrid::makeRegionEntry(column, 0, 255));
    std::mt19937 random(5);
    for (int32_t column = 6; column < 127; column += 13) {
        for (int32_t row = 6; row < 127; row += 13) {
            const bool isPad = random() % 3 != 0;
            grid.stampRegion({column + int32_t(random() % 5), row + int32_t(random() % 5)},
                             name(isPad ? "BenchPad" : "BenchCounter"));
        }
    }
}

std::vector<Query> queriesOn(const WalkGrid& grid) {
    std::mt19937 random(3);
    std::vector<Query> queries;
    while (queries.size() < kQueries) {
        const Query query{
            {int32_t(random() % grid.getColumns()), int32_t(random() % grid.getRows())},
            {int32_t(random() % grid.getColumns()), int32_t(random() % grid.getRows())}};
        if (!(query.start == query.target))
            queries.push_back(query);
    }
    return queries;
}

void searchAll(WalkGrid& grid, const std::vector<Query>& queries) {
    for (const Query& query : queries) {
        CArray<WalkGridCell> path;
        benchmark::DoNotOptimize(grid.search(query.start, query.target, path, false));
        benchmark::DoNotOptimize(path.data());
    }
}

void report(benchmark::State& state, uint64_t allocations) {
    state.SetItemsProcessed(int64_t(state.iterations()) * kQueries);
    state.counters["allocs/search"] = double(allocations) / kQueries;
}

void BM_WalkGridSearchVantor(benchmark::State& state, void (*make)(WalkGrid&)) {
    WalkGrid grid;
    make(grid);
    const std::vector<Query> queries = queriesOn(grid);
    searchAll(grid, queries);
    startCountingAllocations();
    searchAll(grid, queries);
    const uint64_t allocations = stopCountingAllocations();
    for (auto _ : state)
        searchAll(grid, queries);
    report(state, allocations);
}

using Graph = boost::adjacency_list<boost::vecS, boost::vecS, boost::directedS, boost::no_property,
                                    boost::property<boost::edge_weight_t, float>>;
using Vertex = boost::graph_traits<Graph>::vertex_descriptor;

// Vertices numbered as the grid numbers its cells; an edge into each neighbour costs what
// entering it costs.
Graph graphOf(const WalkGrid& grid) {
    const int32_t rows = grid.getRows();
    Graph graph(size_t(grid.getColumns()) * size_t(rows));
    for (int32_t column = 0; column < grid.getColumns(); ++column) {
        for (int32_t row = 0; row < rows; ++row) {
            for (int32_t dc = -1; dc <= 1; ++dc) {
                for (int32_t dr = -1; dr <= 1; ++dr) {
                    const WalkGridCell next{column + dc, row + dr};
                    if ((dc == 0 && dr == 0) || !grid.contains(next))
                        continue;
                    float cost = float(grid.getWeight(next) + 1);
                    if (dc != 0 && dr != 0)
                        cost *= kDiagonalFactor;
                    boost::add_edge(Vertex(column * rows + row),
                                    Vertex(next.column * rows + next.row), cost, graph);
                }
            }
        }
    }
    return graph;
}

class CellsApart : public boost::astar_heuristic<Graph, float> {
public:
    CellsApart(int32_t rows, Vertex target) : m_rows(rows), m_target(target) {}
    float operator()(Vertex vertex) const {
        const int32_t column = int32_t(vertex) / m_rows;
        const int32_t row = int32_t(vertex) % m_rows;
        return float(std::abs(column - int32_t(m_target) / m_rows) +
                     std::abs(row - int32_t(m_target) % m_rows));
    }

private:
    int32_t m_rows;
    Vertex m_target;
};

struct TargetReached {};

// Ends the search the way the grid's does: when the target is first put on the open list.
class StopAtTarget : public boost::default_astar_visitor {
public:
    explicit StopAtTarget(Vertex target) : m_target(target) {}
    void discover_vertex(Vertex vertex, const Graph&) const {
        if (vertex == m_target)
            throw TargetReached();
    }

private:
    Vertex m_target;
};

void BM_WalkGridSearchBoost(benchmark::State& state, void (*make)(WalkGrid&)) {
    WalkGrid grid;
    make(grid);
    const std::vector<Query> queries = queriesOn(grid);
    const Graph graph = graphOf(grid);
    const int32_t rows = grid.getRows();
    std::vector<Vertex> predecessors(boost::num_vertices(graph));
    std::vector<float> costs(boost::num_vertices(graph));
    const auto searchAllBoost = [&] {
        for (const Query& query : queries) {
            const Vertex start = Vertex(query.start.column * rows + query.start.row);
            const Vertex target = Vertex(query.target.column * rows + query.target.row);
            try {
                boost::astar_search(graph, start, CellsApart(rows, target),
                                    boost::predecessor_map(predecessors.data())
                                        .distance_map(costs.data())
                                        .visitor(StopAtTarget(target)));
            } catch (const TargetReached&) {
            }
            std::vector<Vertex> path;
            for (Vertex at = target; at != start; at = predecessors[at])
                path.push_back(at);
            path.push_back(start);
            benchmark::DoNotOptimize(path.data());
        }
    };
    searchAllBoost();
    startCountingAllocations();
    searchAllBoost();
    const uint64_t allocations = stopCountingAllocations();
    for (auto _ : state)
        searchAllBoost();
    report(state, allocations);
}

BENCHMARK_CAPTURE(BM_WalkGridSearchVantor, default52x39, defaultGrid)
    ->Name("WalkGridSearch/vantor/default52x39");
BENCHMARK_CAPTURE(BM_WalkGridSearchBoost, default52x39, defaultGrid)
    ->Name("WalkGridSearch/boost/default52x39");
BENCHMARK_CAPTURE(BM_WalkGridSearchVantor, weighted127x127, weightedGrid)
    ->Name("WalkGridSearch/vantor/weighted127x127");
BENCHMARK_CAPTURE(BM_WalkGridSearchBoost, weighted127x127, weightedGrid)
    ->Name("WalkGridSearch/boost/weighted127x127");

} // namespace
