// The list control's scroll: a list of 10,000 items shown through 8 elements moves its window
// by one item a step and refills the elements' text nodes, beside copying the same 8 texts
// out of a std::vector, the least any list must do to show a new window.
#include <cstdint>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/scene/TextNode.h"
#include "engine/ui/ListNode.h"

namespace {

constexpr int kItems = 10000;
constexpr int kShown = 8;

CStringW itemText(int i) {
    return CStringW(u"Item ") + CStringW(CString(i).c_str());
}

// A scene in a manager whose collection has a list template of 100 x 20 text rows, and a
// list of 100 x 160 in it.
struct ScrollingList {
    ScrollingList() {
        BaseNode* look = new BaseNode(CContentKey(), templates.get(), nullptr);
        look->setName(CNameId(CString("List")));
        look->release();
        ControlNode* element = new ControlNode(CContentKey(), look, nullptr);
        element->setName(CNameId(CString("Element")));
        element->setBounds({100, 20, 0});
        element->release();
        TextNode* text = new TextNode(CContentKey(), element, nullptr);
        text->setName(CNameId(CString("Text")));
        text->release();
        templates->OnLoaded();
        manager->setTemplateCollection(templates.get());
        manager->openScene(scene.get(), CNameId());
        list->setBounds({100, 20 * kShown, 0});
        scene->appendChild(list.get());
        CArray<CStringW> strings;
        for (int i = 0; i < kItems; ++i)
            strings.append(itemText(i));
        list->setStrings(strings);
        list->setTemplateName(CNameId(CString("List")));
    }

    CRefPointer<TemplateCollectionNode> templates{
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr)};
    CRefPointer<SceneManager> manager{new SceneManager(CContentKey(), nullptr, nullptr)};
    CRefPointer<SceneNode> scene{new SceneNode(CContentKey(), nullptr, nullptr)};
    CRefPointer<ListNode> list{new ListNode(CContentKey(), nullptr, nullptr)};
};

void ListScroll_vantor(benchmark::State& state) {
    ScrollingList scrolling;
    int32_t top = 0;
    for (auto _ : state) {
        top = (top + 1) % (kItems - kShown);
        scrolling.list->setTopItem(top);
        benchmark::DoNotOptimize(scrolling.list->getTopItem());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kShown);
    state.counters["elements"] = double(scrolling.list->getElementCount());
}

void ListScroll_stdcopy(benchmark::State& state) {
    std::vector<std::u16string> items;
    for (int i = 0; i < kItems; ++i)
        items.push_back(itemText(i).c_str());
    std::vector<std::u16string> shown(kShown);
    size_t top = 0;
    for (auto _ : state) {
        top = (top + 1) % (kItems - kShown);
        for (size_t i = 0; i < kShown; ++i)
            shown[i] = items[top + i];
        benchmark::DoNotOptimize(shown.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kShown);
}

BENCHMARK(ListScroll_vantor)->Name("ListScroll/vantor");
BENCHMARK(ListScroll_stdcopy)->Name("ListScroll/std::copy");

} // namespace
