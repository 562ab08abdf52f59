// The scene framework's costs: collecting and sorting the drawables of a 5,000-node tree (the
// per-frame cost) beside a plain std::sort of the same entries; ticking 10,000 key-frame
// animators; loading a 5,000-node scene file, whose parse alone is set beside expat's on the
// same bytes, so that the node building shows as the difference.
#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <expat.h>

#include "bench/AllocationCounter.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Scheduler.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/XmlTextReader.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/SceneNode.h"
#include "tests/scene/SceneFileFixtures.h"

namespace {

constexpr int kTreeNodes = 5000;
constexpr int kAnimators = 10000;

// Draws itself: its own entry first, then its children's.
class DrawingNode : public BaseNode {
public:
    DrawingNode(BaseNode* parent, float depth, uint32_t key)
        : BaseNode(CContentKey(), parent, nullptr), m_key(key) {
        setPosition({float(key), 0, depth});
    }
    void collectDrawables(RenderList& list) override { collectOwnAndChildDrawables(list, m_key); }

private:
    uint32_t m_key;
};

// 50 groups of 99 drawing nodes, at random depths from a small set (so ties occur) with one
// of 16 textures.
CRefPointer<BaseNode> makeDrawingTree() {
    std::mt19937 random(1);
    CRefPointer<BaseNode> root(new BaseNode(CContentKey(), nullptr, nullptr));
    for (int group = 0; group < 50; ++group) {
        BaseNode* holder = new BaseNode(CContentKey(), root.get(), nullptr);
        holder->release();
        for (int i = 0; i < 99; ++i)
            (new DrawingNode(holder, float(int(random() % 64) - 32), random() % 16))->release();
    }
    return root;
}

void SceneDrawables_vantor(benchmark::State& state) {
    const CRefPointer<BaseNode> root = makeDrawingTree();
    RenderList list;
    auto frame = [&] {
        list.truncate(0);
        root->collectDrawables(list);
        sortRenderList(list);
    };
    frame();
    startCountingAllocations();
    frame();
    const uint64_t allocations = stopCountingAllocations();
    for (auto _ : state) {
        frame();
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["drawables"] = double(list.size());
    state.counters["allocs/frame"] = double(allocations);
}

void SceneDrawables_stdsort(benchmark::State& state) {
    const CRefPointer<BaseNode> root = makeDrawingTree();
    RenderList collected;
    root->collectDrawables(collected);
    const std::vector<Drawable> unsorted(collected.begin(), collected.end());
    std::vector<Drawable> entries(unsorted.size());
    for (auto _ : state) {
        std::copy(unsorted.begin(), unsorted.end(), entries.begin());
        std::sort(entries.begin(), entries.end(), [](const Drawable& a, const Drawable& b) {
            return a.depth < b.depth || (a.depth == b.depth && a.sortKey < b.sortKey);
        });
        benchmark::DoNotOptimize(entries.data());
    }
    state.counters["drawables"] = double(entries.size());
}

BENCHMARK(SceneDrawables_vantor)->Name("SceneDrawables/vantor");
BENCHMARK(SceneDrawables_stdsort)->Name("SceneDrawables/std::sort");

CRefPointer<NodeState> loopingMove(const CNodeFactory& factory) {
    const std::string xml =
        "<State Name=\"Move\"><Animator Type=\"KeyFrame\"><Properties>"
        "<vector3d Name=\"Position\" Value=\"0;0;0\"/><color Name=\"TintColor\" Value=\"0\"/>"
        "</Properties><KeyFrame t=\"0\" Value0=\"0;0;0\" Value1=\"ff000000\"/>"
        "<KeyFrame t=\"1000\" i=\"0\" Value0=\"100;50;0\" Value1=\"ffffffff\"/>"
        "<KeyFrame t=\"1000\" g=\"0\" i=\"0\" Value0=\"0;0;0\" Value1=\"ff000000\"/>"
        "</Animator></State>";
    std::vector<uint8_t> bytes(xml.begin(), xml.end());
    const CRefPointer<CMemoryBlockFile> file(
        new CMemoryBlockFile(bytes.data(), int32_t(bytes.size()), u"move", false));
    const CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file.get()));
    reader->readNext();
    return NodeState::readXml(*reader, factory, nullptr);
}

void KeyFrameTick_vantor(benchmark::State& state) {
    const CRefPointer<CNodeFactory> factory(new CNodeFactory());
    const CRefPointer<CScheduler> clock(new CScheduler());
    const CRefPointer<SceneNode> scene(new SceneNode(CContentKey(), nullptr, nullptr));
    scene->setClock(clock.get());
    scene->setScene(nullptr, scene.get());
    const CRefPointer<NodeState> pattern = loopingMove(*factory);
    for (int i = 0; i < kAnimators; ++i) {
        BaseNode* node = new BaseNode(CContentKey(), scene.get(), nullptr);
        node->release();
        node->addState(pattern->clone(node, nullptr).get());
        node->setState(CNameId(CString("Move")), nullptr, CNameId());
    }
    // Ticks between two keys: the values move, no key is reached.
    clock->update(20);
    startCountingAllocations();
    clock->update(20);
    const uint64_t allocations = stopCountingAllocations();
    // Timed ticks include the arrivals at keys (one in fifty), which copy the key's values.
    for (auto _ : state)
        clock->update(20);
    state.SetItemsProcessed(int64_t(state.iterations()) * kAnimators);
    state.counters["allocs/tick"] = double(allocations);
}

BENCHMARK(KeyFrameTick_vantor)->Name("KeyFrameTick/vantor");

// 5,000 nodes: a scene of 100 panels of 49 nodes, each with its properties, every tenth with a
// state.
const std::string& sceneFile() {
    static const std::string text = [] {
        std::string xml = "<?xml version=\"1.0\"?>\n<SceneNode Type=\"SceneNode\">\n";
        for (int panel = 0; panel < 100; ++panel) {
            xml += "\t<SceneNode Type=\"ControlNode\">\n\t\t<Properties>\n\t\t\t<string "
                   "Name=\"Name\" Value=\"Panel" +
                   std::to_string(panel) + "\" />\n\t\t</Properties>\n";
            for (int i = 0; i < 49; ++i) {
                xml += "\t\t<SceneNode Type=\"BaseNode\">\n\t\t\t<Properties>\n"
                       "\t\t\t\t<string Name=\"Name\" Value=\"Item" +
                       std::to_string(i) + "\" />\n\t\t\t\t<vector3d Name=\"Position\" Value=\"" +
                       std::to_string(i * 10) +
                       ".000000;20.000000;-1.000000\" />\n\t\t\t\t<color Name=\"TintColor\" "
                       "Value=\"80ffffff\" />\n\t\t\t</Properties>\n";
                if (i % 10 == 0)
                    xml += "\t\t\t<States>\n\t\t\t\t<State Name=\"Show\">\n"
                           "\t\t\t\t\t<StartAnimator Type=\"SetProps\">\n"
                           "\t\t\t\t\t\t<bool Name=\"Visible\" Value=\"true\" />\n"
                           "\t\t\t\t\t</StartAnimator>\n\t\t\t\t</State>\n\t\t\t</States>\n";
                xml += "\t\t</SceneNode>\n";
            }
            xml += "\t</SceneNode>\n";
        }
        return xml + "</SceneNode>\n";
    }();
    return text;
}

void SceneFileParse_vantor(benchmark::State& state) {
    std::vector<uint8_t> bytes(sceneFile().begin(), sceneFile().end());
    for (auto _ : state) {
        const CRefPointer<CMemoryBlockFile> file(
            new CMemoryBlockFile(bytes.data(), int32_t(bytes.size()), u"scene", false));
        const CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file.get()));
        uint64_t seen = 0;
        while (reader->readNext())
            seen += uint64_t(reader->attributeCount()) + reader->nodeName().length();
        benchmark::DoNotOptimize(seen);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void XMLCALL countElement(void* data, const XML_Char* name, const XML_Char** attributes) {
    uint64_t& seen = *static_cast<uint64_t*>(data);
    seen += std::char_traits<char>::length(name);
    for (; attributes[0] != nullptr; attributes += 2)
        ++seen;
}

void XMLCALL countEnd(void* data, const XML_Char* name) {
    *static_cast<uint64_t*>(data) += std::char_traits<char>::length(name);
}

void SceneFileParse_expat(benchmark::State& state) {
    const std::string& text = sceneFile();
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate(nullptr);
        uint64_t seen = 0;
        XML_SetUserData(parser, &seen);
        XML_SetElementHandler(parser, countElement, countEnd);
        XML_Parse(parser, text.data(), int(text.size()), XML_TRUE);
        XML_ParserFree(parser);
        benchmark::DoNotOptimize(seen);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

BENCHMARK(SceneFileParse_vantor)->Name("SceneFileParse/vantor");
BENCHMARK(SceneFileParse_expat)->Name("SceneFileParse/expat");

// Parse and build: the processor reads the file into a tree, uncached, every time.
void SceneFileLoad_vantor(benchmark::State& state) {
    SceneFiles scenes;
    scenes.manager->setCaching(false);
    scenes.files->add(u"scene.qscn", sceneFile());
    int64_t nodes = 0;
    for (auto _ : state) {
        const CRefPointer<BaseNode> tree = scenes.load(u"scene.qscn");
        nodes = tree ? int64_t(tree->getChildCount()) : 0;
        benchmark::DoNotOptimize(tree.get());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sceneFile().size()));
    state.counters["panels"] = double(nodes);
}

BENCHMARK(SceneFileLoad_vantor)->Name("SceneFileLoad/vantor");

} // namespace
