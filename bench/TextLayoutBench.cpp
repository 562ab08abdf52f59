// Relayout of 10,000 characters of word-wrapped, justified text 400 pixels wide in a 16-pixel
// DejaVu Sans: lines split, justified and one glyph quad made per character. Ours, a text node
// in the bitmap font the font tool made from DejaVu Sans, beside Pango laying out the same text
// in the same font through FreeType (which also shapes it with HarfBuzz). Items are characters.
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>
#include <pango/pangoft2.h>

#include "engine/core/EngineServices.h"
#include "engine/core/Utf.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/scene/TextNode.h"
#include "engine/video/ImageLoaderManager.h"
#include "engine/video/VideoContentProcessors.h"
#include "tests/video/RecordingRenderDriver.h"

namespace {

constexpr int kCharacters = 10000;
constexpr int kWidth = 400;

// Words of the font's characters, with hyphens now and then, cut to the length.
std::string sampleText() {
    const char* const words[] = {"Velmora", "dance",  "club",      "step-in", "keep",   "fit",
                                 "clients", "queue",  "patiently", "towels",  "drinks", "music,",
                                 "lively",  "hearts", "money.",    "Open",    "daily!"};
    std::string text;
    for (unsigned i = 0; text.size() < kCharacters; i = i * 7 + 3)
        text += std::string(words[i % std::size(words)]) + " ";
    text.resize(kCharacters);
    return text;
}

// A text node over the test fixtures' 16-pixel DejaVu Sans, with textures made by a driver.
class TextNodeSetup {
public:
    TextNodeSetup() {
        engineServiceFactories().imageLoaderManager = [] {
            return CServiceReference<CImageLoaderManager>::adopt(new CImageLoaderManager());
        };
        CEngineServices::destroyInstance();
        const std::filesystem::path fixtures =
            std::filesystem::path(VANTOR_SOURCE_DIR) / "tests" / "video" / "fixtures" / "";
        m_files->addArchive(utf8ToUtf16(fixtures.string().c_str()), nullptr);
        ContentProcessorFactories factories;
        registerVideoContentProcessors(factories);
        m_processors = CRefPointer<CContentProcessorsManager>(
            new CContentProcessorsManager({reference(), {}, m_files, {}}, factories));
        m_manager =
            CRefPointer<CContentManager>(new CContentManager(reference(), m_files, m_processors));
        const CRefPointer<CContent> font =
            m_manager->load(contentType("font"), u"fonts/Sans16.qfnt", false);
        node = CRefPointer<TextNode>(new TextNode(CContentKey(), nullptr, nullptr));
        node->setBounds({kWidth, 100000, 0});
        node->setFont(static_cast<CFontBase*>(font.get()));
        node->setWordWrap(true);
        node->setTextHAlign(TextNode::HALIGN_JUSTIFY);
        node->setText(utf8ToUtf16(sampleText().c_str()));
    }
    ~TextNodeSetup() {
        node.reset();
        m_manager.reset();
        m_processors.reset();
        CEngineServices::destroyInstance();
        engineServiceFactories() = EngineServiceFactories();
    }

    CRefPointer<TextNode> node;

private:
    CServiceReference<IRenderDriver> reference() {
        m_driver->addRef();
        return CServiceReference<IRenderDriver>::adopt(m_driver.get());
    }

    CRefPointer<RecordingRenderDriver> m_driver{new RecordingRenderDriver()};
    CRefPointer<IVirtualFileSystem> m_files{new CVirtualFileSystem};
    CRefPointer<CContentProcessorsManager> m_processors;
    CRefPointer<CContentManager> m_manager;
};

void BM_TextRelayoutVantor(benchmark::State& state) {
    TextNodeSetup setup;
    if (setup.node->getGlyphQuads().size() < kCharacters / 2) {
        state.SkipWithError("the font did not load with its page");
        return;
    }
    for (auto _ : state) {
        // Spacing of 0 again: the text is split and its quads made anew.
        setup.node->setKerning({0, 0});
        benchmark::DoNotOptimize(setup.node->getGlyphQuads().size());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kCharacters);
    state.counters["lines"] = double(setup.node->getLines().size());
}

void BM_TextRelayoutPango(benchmark::State& state) {
    PangoFontMap* fonts = pango_ft2_font_map_new();
    pango_ft2_font_map_set_resolution(PANGO_FT2_FONT_MAP(fonts), 72, 72);
    PangoContext* context = pango_font_map_create_context(fonts);
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
    pango_font_description_set_absolute_size(font, 16 * PANGO_SCALE);
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_width(layout, kWidth * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    pango_layout_set_justify(layout, TRUE);
    const std::string text = sampleText();
    pango_layout_set_text(layout, text.c_str(), int(text.size()));
    PangoRectangle extents;
    for (auto _ : state) {
        pango_layout_context_changed(layout);
        pango_layout_get_extents(layout, nullptr, &extents);
        benchmark::DoNotOptimize(extents.height);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kCharacters);
    state.counters["lines"] = double(pango_layout_get_line_count(layout));
    g_object_unref(layout);
    pango_font_description_free(font);
    g_object_unref(context);
    g_object_unref(fonts);
}

} // namespace

BENCHMARK(BM_TextRelayoutVantor)->Name("TextRelayout/vantor/10000");
BENCHMARK(BM_TextRelayoutPango)->Name("TextRelayout/pango/10000");
