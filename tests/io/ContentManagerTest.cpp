#include "engine/io/ContentManager.h"

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/DeviceDriverEvents.h"
#include "engine/core/Engine.h"
#include "engine/core/Properties.h"
#include "engine/core/PropertyDataContent.h"
#include "engine/core/Utf.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/io/XmlContentFrame.h"
#include "io/TempFolder.h"

namespace {

using Log = std::vector<std::string>;

constexpr uint32_t kText = contentType("text");
constexpr uint32_t kImage = contentType("imag");
constexpr uint32_t kSound = contentType("isnd");
constexpr uint32_t kDocument = contentType("xdoc");

std::string utf8(const CStringW& text) {
    return utf16ToUtf8(text.c_str()).c_str();
}

CStringW wide(const std::string& text) {
    return utf8ToUtf16(text.c_str());
}

// Content holding the bytes of its file; counts the objects alive to show leaks in the test.
class TextContent : public CContent {
public:
    static inline int alive = 0;

    TextContent(const CContentKey& key, uint32_t type, uint32_t mode, std::string text)
        : CContent(key), text(std::move(text)), m_type(type) {
        setHandOutMode(mode);
        ++alive;
    }
    TextContent(const TextContent& other)
        : CRefCounted(), CContent(other), text(other.text), m_type(other.m_type) {
        ++alive;
    }

    uint32_t getContentType() const override { return m_type; }
    CRefPointer<CContent> makeCopy() const override {
        return CRefPointer<CContent>(new TextContent(*this));
    }

    std::string text;

protected:
    ~TextContent() override { --alive; }

private:
    uint32_t m_type;
};

struct FakeDriver : CRefCounted {};

CServiceReference<IRenderDriver> videoReference(FakeDriver* driver) {
    driver->addRef();
    return CServiceReference<IRenderDriver>(reinterpret_cast<IRenderDriver*>(driver), driver,
                                            nullptr);
}

// Reads a whole file into a TextContent of its type and mode; logs the driver events and
// cache notifications it gets, and whether it held the event's driver when notified.
class TextProcessor : public IContentProcessor {
public:
    TextProcessor(uint32_t type, uint32_t mode, std::string name = "", Log* log = nullptr,
                  int32_t priority = 0, uint32_t mask = 0)
        : loads(0), m_type(type), m_mode(mode), m_name(std::move(name)), m_log(log),
          m_priority(priority) {
        setCategoryMask(mask);
    }

    int32_t getPriority() const override { return m_priority; }
    uint32_t getContentType() const override { return m_type; }

    CRefPointer<CContent> load(CContentManager&, IInputFile* file,
                               const CContentKey& key) override {
        ++loads;
        std::string text(size_t(file->getLength()), '\0');
        file->readBytes(text.data(), file->getLength());
        const CContentKey named =
            fixedName.empty() ? key : CContentKey(key.getOwner(), wide(fixedName));
        return CRefPointer<CContent>(new TextContent(named, m_type, m_mode, text));
    }
    bool canSave(const CStringW&) const override { return writes; }
    bool save(CContentManager&, CContent* object, IOutputFile* file, int32_t) override {
        const std::string& text = static_cast<TextContent*>(object)->text;
        return file->writeBytes(text.data(), int32_t(text.size())) == int32_t(text.size());
    }
    void notifyCached(CEvent& event, ContentCacheMap& cache) override {
        const auto* created = event.getTypeId() == CEventVideoDriverCreated::Id
                                  ? static_cast<CEventVideoDriverCreated*>(&event)
                                  : nullptr;
        const bool holdsNew = created && created->getDriver().get() == driver.get();
        m_log->push_back(m_name + ".notify" + std::to_string(cache.size()) +
                         (holdsNew ? "+driver" : ""));
    }
    bool onVideoDriverCreated(CEvent& event) override {
        driver = static_cast<CEventVideoDriverCreated&>(event).getDriver();
        m_log->push_back(m_name + ".created");
        return false;
    }

    int loads;
    bool writes = false;
    std::string fixedName;
    CServiceReference<IRenderDriver> driver;

private:
    uint32_t m_type;
    uint32_t m_mode;
    std::string m_name;
    Log* m_log;
    int32_t m_priority;
};

// Reads <Doc ref="..."/> and loads the named image relative to the document.
class DocumentContent : public CContent {
public:
    explicit DocumentContent(const CContentKey& key) : CContent(key) { setHandOutMode(kShared); }
    uint32_t getContentType() const override { return kDocument; }
    CRefPointer<CContent> child;
};

class DocumentProcessor : public IContentProcessor {
public:
    uint32_t getContentType() const override { return kDocument; }
    CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                               const CContentKey& key) override {
        return loadXmlContent(
            manager, *manager.getFileSystem(), file, key,
            [](const CContentKey& k) {
                return CRefPointer<DocumentContent>(new DocumentContent(k));
            },
            [&manager](DocumentContent& document, CXmlTextReader& reader) {
                while (reader.readNext()) {
                    if (reader.nodeKind() == CXmlTextReader::kElement)
                        document.child = manager.load(kImage, reader.getAttribute(u"ref"), true);
                }
            });
    }
    bool save(CContentManager&, CContent*, IOutputFile*, int32_t) override { return false; }
};

class ContentManagerTest : public ::testing::Test {
protected:
    ContentManagerTest() {
        files->addArchive(folder.wide(), nullptr);
        TextContent::alive = 0;
    }
    ~ContentManagerTest() override {
        manager.reset();
        EXPECT_EQ(TextContent::alive, 0);
    }

    void writeFile(const std::string& name, const std::string& text) {
        std::filesystem::create_directories((folder.path() / name).parent_path());
        std::ofstream(folder.path() / name, std::ios::binary) << text;
    }

    // A new manager over new, empty processors.
    void restart() {
        manager.reset();
        processors = CRefPointer<CContentProcessorsManager>(
            new CContentProcessorsManager({}, ContentProcessorFactories()));
        manager = CRefPointer<CContentManager>(new CContentManager({}, files, processors));
    }

    TextProcessor* addProcessor(TextProcessor* processor) {
        processors->registerProcessor(CRefPointer<IContentProcessor>(processor));
        return processor;
    }

    static std::string textOf(const CRefPointer<CContent>& content) {
        return content ? static_cast<TextContent*>(content.get())->text : "(none)";
    }

    TempFolder folder;
    CRefPointer<IVirtualFileSystem> files{new CVirtualFileSystem};
    CRefPointer<CContentProcessorsManager> processors{
        new CContentProcessorsManager({}, ContentProcessorFactories())};
    CRefPointer<CContentManager> manager{new CContentManager({}, files, processors)};
};

TEST_F(ContentManagerTest, HandsOutSharedObjectsCopiesOrFreshReads) {
    struct Case {
        uint32_t mode;
        bool sameObject;
        int32_t callerCount;
        int32_t cachedCount; // 0: not cached
        int reads;
    };
    const Case cases[] = {
        {CContent::kShared, true, 3, 3, 1},
        {0, false, 1, 1, 1},
        {CContent::kNeverCached, false, 1, 0, 2},
    };
    writeFile("a.txt", "alpha");
    for (const Case& c : cases) {
        restart();
        TextProcessor* processor = addProcessor(new TextProcessor(kText, c.mode));

        const CRefPointer<CContent> first = manager->load(kText, u"a.txt", false);
        const CRefPointer<CContent> second = manager->load(kText, u"a.txt", false);
        ASSERT_TRUE(first && second) << c.mode;
        EXPECT_EQ(first == second, c.sameObject) << c.mode;
        EXPECT_EQ(first->getRefCount(), c.callerCount) << c.mode;
        EXPECT_EQ(textOf(second), "alpha");
        EXPECT_EQ(processor->loads, c.reads) << c.mode;
        CContent* cached = manager->find(kText, CContentKey(manager.get(), u"a.txt"));
        EXPECT_EQ(cached ? cached->getRefCount() : 0, c.cachedCount) << c.mode;
        EXPECT_EQ(first->getContentKey().getOwner(), manager.get());
    }
}

// Content, the values that refer to it and the sets that load through the manager may be kept
// after the manager is gone; they then find no manager instead of freed memory.
TEST_F(ContentManagerTest, ContentOutlivingItsManagerFindsNoOwner) {
    writeFile("a.txt", "alpha");
    addProcessor(new TextProcessor(kText, CContent::kShared));
    const CRefPointer<CContent> content = manager->load(kText, u"a.txt", false);
    ASSERT_TRUE(content);
    const CRefPointer<CPropertyDataFont> value = makeFontProperty(content.get());
    const CRefPointer<CProperties> set(new CProperties(manager.get()));
    manager.reset();
    processors.reset();
    EXPECT_EQ(content->getContentSource(), nullptr);
    EXPECT_EQ(content->getContentKey().getOwner(), nullptr);
    EXPECT_EQ(value->getContentSource(), nullptr);
    EXPECT_EQ(utf8(value->toStringW()), "a.txt");
    value->fromString("b.txt");
    EXPECT_EQ(value->getContent(), content.get());
    EXPECT_EQ(set->getOwner(), nullptr);
}

// The cache refuses an object named like one it holds, or any object while caching is off;
// the caller then owns the creation reference alone, and nothing leaks.
TEST_F(ContentManagerTest, RefusedObjectsAreHandedOutWithTheirCreationReference) {
    writeFile("a.txt", "alpha");
    writeFile("b.txt", "beta");
    for (const uint32_t mode : {CContent::kShared, 0u}) {
        restart();
        addProcessor(new TextProcessor(kText, mode))->fixedName = "same";

        const CRefPointer<CContent> first = manager->load(kText, u"a.txt", false);
        const CRefPointer<CContent> refused = manager->load(kText, u"b.txt", false);
        EXPECT_EQ(textOf(refused), "beta") << mode;
        EXPECT_EQ(refused->getRefCount(), 1) << mode;
    }
    manager->releaseAll();
    manager->setCaching(false);
    const CRefPointer<CContent> uncached = manager->load(kText, u"a.txt", false);
    EXPECT_EQ(uncached->getRefCount(), 1);
    EXPECT_EQ(manager->find(kText, CContentKey(manager.get(), u"a.txt")), nullptr);
}

TEST_F(ContentManagerTest, MissingImagesAreTriedOnceMoreAsQimg) {
    addProcessor(new TextProcessor(kImage, CContent::kShared));
    addProcessor(new TextProcessor(kSound, CContent::kShared));
    writeFile("levels/x.qimg", "from qimg");
    writeFile("levels.v2/y.qimg", "dotted folder");
    writeFile("levels/z.qimg", "no extension");
    struct Case {
        uint32_t type;
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {kImage, "levels/x.png", "from qimg"}, {kImage, "levels.v2/y", "dotted folder"},
        {kImage, "levels/z", "no extension"},  {kImage, "levels/missing.png", "(none)"},
        {kSound, "levels/x.png", "(none)"},
    };
    for (const Case& c : cases) {
        const CRefPointer<CContent> content = manager->load(c.type, wide(c.name), false);
        EXPECT_EQ(textOf(content), c.text) << c.name;
        if (content) {
            EXPECT_EQ(manager->find(c.type, CContentKey(manager.get(), wide(c.name))),
                      content.get());
        }
    }
}

TEST_F(ContentManagerTest, NamesInsideAFileResolveAgainstItsFolder) {
    processors->registerProcessor(CRefPointer<IContentProcessor>(new DocumentProcessor));
    addProcessor(new TextProcessor(kImage, CContent::kShared));
    writeFile("scenes/sub/Main.qscn", "<Doc ref=\"../images/a.png\"/>");
    writeFile("scenes/images/a.png", "pixels");

    const CRefPointer<CContent> document = manager->load(kDocument, u"scenes/sub/Main.qscn", false);
    ASSERT_TRUE(document);
    const CRefPointer<CContent>& child = static_cast<DocumentContent*>(document.get())->child;
    EXPECT_EQ(textOf(child), "pixels");
    EXPECT_EQ(utf8(child->getContentName()), "scenes/images/a.png");
    EXPECT_EQ(child->getContentSource(), manager.get());

    manager->popDirectory();
    EXPECT_EQ(utf8(manager->absolutePath(u"x/y.png")), "x/y.png");
    manager->pushDirectory(u"scenes/sub/Main.qscn");
    EXPECT_EQ(utf8(manager->relativePath(u"scenes/images/a.png")), "../images/a.png");
    const CRefPointer<IPropertyContent> viaSource =
        manager->loadContent(kImage, u"../images/a.png", true);
    EXPECT_EQ(viaSource.get(), static_cast<IPropertyContent*>(child.get()));
}

// Processors get the driver events from their manager (priority -1) before the content
// manager (priority 1) hands the ones with cached objects their caches, by priority.
TEST_F(ContentManagerTest, DriverEventsReachProcessorsBeforeTheirCaches) {
    struct TestEngine : CEngine {
        TestEngine() : CEngine(CreationParameters()) {}
        using CEngine::postEvent;
    };
    Log log;
    addProcessor(new TextProcessor(contentType("aaaa"), CContent::kShared, "A", &log, 1, 1));
    addProcessor(new TextProcessor(contentType("bbbb"), CContent::kShared, "B", &log, 0, 1));
    addProcessor(new TextProcessor(contentType("cccc"), CContent::kShared, "C", &log, -1, 0));
    addProcessor(new TextProcessor(contentType("dddd"), CContent::kShared, "D", &log, 0, 1));
    writeFile("a.txt", "alpha");
    for (const uint32_t type : {contentType("aaaa"), contentType("bbbb"), contentType("cccc")})
        ASSERT_TRUE(manager->load(type, u"a.txt", false));

    CRefPointer<TestEngine> engine(new TestEngine);
    engine->addReceiver(manager.get(), 1);
    engine->addReceiver(processors.get(), -1);
    CRefPointer<FakeDriver> driver(new FakeDriver);
    CRefPointer<CEvent> created(new CEventVideoDriverCreated(videoReference(driver.get())));
    engine->postEvent(*created);

    EXPECT_EQ(log, (Log{"A.created", "B.created", "D.created", "C.notify1", "B.notify1+driver",
                        "A.notify1+driver"}));
    EXPECT_EQ(manager->getVideoDriver(), reinterpret_cast<IRenderDriver*>(driver.get()));
    EXPECT_EQ(processors->getServices().videoDriver.get(), manager->getVideoDriver());

    CRefPointer<CEvent> removed(new CEventVideoDriverRemoved);
    engine->postEvent(*removed);
    EXPECT_EQ(manager->getVideoDriver(), nullptr);
    EXPECT_EQ(processors->getServices().videoDriver.get(), nullptr);
    engine->removeReceiver(manager.get());
    engine->removeReceiver(processors.get());
}

TEST_F(ContentManagerTest, ReleaseUnusedRemoveAndReleaseAllFreeWithoutLeaks) {
    addProcessor(new TextProcessor(kImage, CContent::kShared));
    addProcessor(new TextProcessor(kText, 0));
    for (const char* name : {"a.png", "b.png", "c.png", "d.txt"})
        writeFile(name, name);
    CRefPointer<CContent> held = manager->load(kImage, u"a.png", false);
    manager->load(kImage, u"b.png", false);
    CRefPointer<CContent> third = manager->load(kImage, u"c.png", false);
    CRefPointer<CContent> copy = manager->load(kText, u"d.txt", false);
    EXPECT_EQ(TextContent::alive, 5); // three images, the prototype and its copy

    manager->releaseUnused();
    const auto cached = [&](uint32_t type, const char16_t* name) {
        return manager->find(type, CContentKey(manager.get(), name)) != nullptr;
    };
    EXPECT_TRUE(cached(kImage, u"a.png"));
    EXPECT_FALSE(cached(kImage, u"b.png"));
    EXPECT_FALSE(cached(kText, u"d.txt"));
    EXPECT_EQ(TextContent::alive, 3);

    manager->remove(held.get());
    EXPECT_FALSE(cached(kImage, u"a.png"));
    EXPECT_EQ(held->getRefCount(), 1);
    held.reset();
    manager->remove(copy.get()); // its prototype is gone already
    manager->releaseAll();
    EXPECT_FALSE(cached(kImage, u"c.png"));
    EXPECT_EQ(third->getRefCount(), 1);
    EXPECT_EQ(TextContent::alive, 2);
}

TEST_F(ContentManagerTest, SaveLeavesTheFileAloneWhenTheProcessorCannotWrite) {
    TextProcessor* processor = addProcessor(new TextProcessor(kText, CContent::kShared));
    writeFile("in.txt", "new");
    const CRefPointer<CContent> content = manager->load(kText, u"in.txt", false);
    for (const bool writes : {false, true}) {
        writeFile("out.txt", "old");
        processor->writes = writes;
        EXPECT_EQ(manager->save(kText, content.get(), folder.wide("out.txt"), 0), writes);
        std::ifstream in(folder.path() / "out.txt");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), writes ? "new" : "old");
    }
    EXPECT_FALSE(manager->save(kSound, content.get(), folder.wide("out.txt"), 0));
}

TEST(ContentProcessorsManagerTest, KeepsTheFirstProcessorOfAType) {
    ContentProcessorFactories factories;
    factories.image = [](const ContentProcessorServices&) {
        return CRefPointer<IContentProcessor>(new TextProcessor(kImage, 0));
    };
    factories.sound = [](const ContentProcessorServices&) {
        return CRefPointer<IContentProcessor>(new TextProcessor(kImage, 0));
    };
    CRefPointer<CContentProcessorsManager> manager(new CContentProcessorsManager({}, factories));
    IContentProcessor* first = manager->findProcessor(kImage);
    manager->registerProcessor(CRefPointer<IContentProcessor>(new TextProcessor(kImage, 0)));
    manager->registerProcessor(nullptr);
    EXPECT_EQ(manager->findProcessor(kImage), first);
    EXPECT_EQ(first->getRefCount(), 1);
    EXPECT_EQ(manager->findProcessor(kSound), nullptr);
    EXPECT_EQ(contentType("imag"), 0x67616D69u);
}

} // namespace
