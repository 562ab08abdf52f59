#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/video/NullRenderDriver.h"
#include "engine/video/QuadBatcher.h"

namespace {

// A null driver that only counts the draw calls reaching it.
class CountingRenderDriver : public CNullRenderDriver {
public:
    CountingRenderDriver() : CNullRenderDriver(CreationParameters(), nullptr, nullptr) {}

    void drawPrimitives(const void* vertices, uint32_t vertexCount, const void* indices,
                        uint32_t primitiveCount, uint32_t vertexType, uint32_t indexType,
                        uint32_t primitiveType) override {
        CNullRenderDriver::drawPrimitives(vertices, vertexCount, indices, primitiveCount,
                                          vertexType, indexType, primitiveType);
        ++drawCalls;
    }

    int64_t drawCalls = 0;
};

// One iteration adds one sprite-sized quad, so the time per iteration is the time per quad,
// flushes included.
void addQuads(benchmark::State& state, bool alternate) {
    CRefPointer<CountingRenderDriver> driver(new CountingRenderDriver());
    CQuadBatcher& batcher = *driver->getQuadBatcher();
    static char textures[2];
    RenderMaterial materials[2];
    for (int i = 0; i < 2; ++i) {
        materials[i].type = MATERIAL_TRANS_ALPHACH_VERTEXALPHA;
        materials[i].layerCount = 1;
        materials[i].layers[0].texture = reinterpret_cast<CImageTexture*>(&textures[i]);
    }
    const CVector2d texCoords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    uint32_t index = 0;
    for (auto _ : state) {
        const float x = float(index % 1000);
        const CVector2d corners[4] = {{x, 10}, {x + 32, 10}, {x + 32, 42}, {x, 42}};
        batcher.addQuad(&materials[alternate ? index & 1 : 0], corners, texCoords, 1.0f,
                        CColor(0xFFFFFFFF));
        ++index;
    }
    batcher.flush();
    benchmark::DoNotOptimize(driver->drawCalls);
    state.counters["quads/draw"] =
        driver->drawCalls ? double(state.iterations()) / double(driver->drawCalls) : 0;
}

void BM_QuadBatchSame(benchmark::State& state) {
    addQuads(state, false);
}
void BM_QuadBatchAlternating(benchmark::State& state) {
    addQuads(state, true);
}

BENCHMARK(BM_QuadBatchSame)->Name("QuadBatch/vantor/same");
BENCHMARK(BM_QuadBatchAlternating)->Name("QuadBatch/vantor/alternating");

} // namespace
