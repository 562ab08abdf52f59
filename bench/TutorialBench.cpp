// Loads the level-1 tutorial into a script through the controller's loadScript, and parses the
// same bytes into a pugixml document. Until the game ships "levels/tutorials/Level1.xml" the
// loader test's script with every element and action type stands in for it. Allocations of one
// load are counted in an untimed pass: ours through operator new, pugixml's through its hook.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include "bench/AllocationCounter.h"
#include "engine/core/Logger.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/XmlTextReader.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/screens/TutorialController.h"

namespace {

std::vector<uint8_t> tutorialBytes() {
    const std::filesystem::path source(VANTOR_SOURCE_DIR);
    std::filesystem::path path = source / "content/assets/levels/tutorials/Level1.xml";
    if (!std::filesystem::exists(path))
        path = source / "tests/game/screens/fixtures/EveryTutorialElement.xml";
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void* countedMalloc(size_t size) {
    noteAllocation();
    return std::malloc(size);
}

// A controller under a node of its own, with the one template it needs to read a script.
class TutorialLoad {
public:
    TutorialLoad() {
        CRefPointer<BaseNode> window(new BaseNode(CContentKey(), m_templates.get(), nullptr));
        window->setName(nameOf("TutorialWindow"));
        m_templates->OnLoaded();
        m_controller = CRefPointer<GTutorialController>(
            new GTutorialController(m_parent.get(), m_templates.get(), nullptr));
    }

    uint32_t load(std::vector<uint8_t>& bytes) {
        CRefPointer<CMemoryBlockFile> file(
            new CMemoryBlockFile(bytes.data(), int32_t(bytes.size()), u"Level1.xml", false));
        CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file.get()));
        m_controller->loadScript(*reader, nullptr);
        return m_controller->getScript()->getHintCount();
    }

private:
    CRefPointer<BaseNode> m_parent{new BaseNode(CContentKey(), nullptr, nullptr)};
    CRefPointer<TemplateCollectionNode> m_templates{
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr)};
    CRefPointer<GTutorialController> m_controller;
};

void loadVantor(benchmark::State& state) {
    // Without the game's configuration the queues' wish lists are unknown; that warning is not
    // what is measured.
    CLogger::instance()->setMinLevel(CLogger::LevelError);
    std::vector<uint8_t> bytes = tutorialBytes();
    TutorialLoad loader;
    startCountingAllocations();
    const uint32_t hints = loader.load(bytes);
    const uint64_t allocations = stopCountingAllocations();
    for (auto _ : state)
        benchmark::DoNotOptimize(loader.load(bytes));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    state.counters["hints"] = double(hints);
    state.counters["allocs/load"] = double(allocations);
    CLogger::instance()->setMinLevel(CLogger::LevelInformation);
}

size_t parsePugixml(std::vector<uint8_t>& bytes) {
    pugi::xml_document document;
    if (!document.load_buffer(bytes.data(), bytes.size()))
        return 0;
    return size_t(std::distance(document.first_child().begin(), document.first_child().end()));
}

void loadPugixml(benchmark::State& state) {
    pugi::set_memory_management_functions(countedMalloc, std::free);
    std::vector<uint8_t> bytes = tutorialBytes();
    startCountingAllocations();
    const size_t hints = parsePugixml(bytes);
    const uint64_t allocations = stopCountingAllocations();
    for (auto _ : state)
        benchmark::DoNotOptimize(parsePugixml(bytes));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    state.counters["hints"] = double(hints);
    state.counters["allocs/load"] = double(allocations);
}

const int registered = [] {
    benchmark::RegisterBenchmark("TutorialLoadVsPugixml/vantor", loadVantor);
    benchmark::RegisterBenchmark("TutorialLoadVsPugixml/pugixml", loadPugixml);
    return 0;
}();

} // namespace
