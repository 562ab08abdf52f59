#include "engine/ui/ParticleCollection.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/io/ContentManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/io/XmlTextReader.h"
#include "engine/ui/ParticleEmitterFactory.h"
#include "engine/ui/PointEmitter.h"
#include "engine/ui/RectangleEmitter.h"
#include "io/TempFolder.h"
#include "ui/ParticleServices.h"

namespace {

constexpr uint32_t kCollection = contentType("prtc");
constexpr uint32_t kEmitter = contentType("pemt");

// An emitter element with a name and a rate.
std::string emitterXml(const std::string& type, const std::string& name, const char* pps = "1;2") {
    return "<ParticleEmitter Type=\"" + type + "\"><Properties>" +
           (name.empty() ? "" : "<stringw Name=\"Name\" Value=\"" + name + "\"/>") +
           "<vector2d Name=\"PPSRange\" Value=\"" + pps + "\"/></Properties></ParticleEmitter>";
}

std::string collectionXml(const std::string& body) {
    return "<?xml version=\"1.0\"?>\n<ParticleCollection>" + body + "</ParticleCollection>";
}

class ParticleCollectionTest : public ParticleServicesTest {
protected:
    ParticleCollectionTest() { files->addArchive(folder.wide(), nullptr); }

    void writeFile(const std::string& name, const std::string& text) {
        std::filesystem::create_directories((folder.path() / name).parent_path());
        std::ofstream(folder.path() / name, std::ios::binary) << text;
    }

    CRefPointer<ParticleCollection> load(const std::string& name, const std::string& text) {
        writeFile(name, text);
        CRefPointer<CContent> loaded = manager->load(kCollection, CStringW(name.c_str()), false);
        return CRefPointer<ParticleCollection>::share(
            static_cast<ParticleCollection*>(loaded.get()));
    }

    BaseEmitter* published(const char16_t* name) const {
        return static_cast<BaseEmitter*>(manager->find(kEmitter, CContentKey(manager.get(), name)));
    }

    // The published emitter's rate, or (-1, -1) when the name is not published.
    CVector2d publishedRate(const char16_t* name) const {
        const BaseEmitter* emitter = published(name);
        return emitter ? emitter->getPpsRange() : CVector2d(-1, -1);
    }

    TempFolder folder;
    CRefPointer<IVirtualFileSystem> files{new CVirtualFileSystem};
    CRefPointer<CContentProcessorsManager> processors{
        new CContentProcessorsManager({{}, {}, files, {}})};
    CRefPointer<CContentManager> manager{new CContentManager({}, files, processors)};
};

TEST_F(ParticleCollectionTest, NamedEmittersArePublishedForLoadsByNameFromAnyFile) {
    const CRefPointer<ParticleCollection> common =
        load("levels/common/ParticleCollection.xml",
             collectionXml(emitterXml("PointEmitter", "Sparks", "3;4") +
                           emitterXml("RectangleEmitter", "Rain", "5;5")));
    const CRefPointer<ParticleCollection> scenes =
        load("scenes/ParticleCollection.xml", collectionXml(emitterXml("PointEmitter", "Smoke")));
    ASSERT_TRUE(common && scenes);
    EXPECT_EQ(common->getEmitterCount(), 2u);
    EXPECT_EQ(scenes->getEmitterCount(), 1u);

    BaseEmitter* sparks = published(u"Sparks");
    ASSERT_NE(sparks, nullptr);
    EXPECT_EQ(sparks, common->findEmitter("Sparks"));
    EXPECT_EQ(sparks->getTypeId(), PointEmitter::kTypeId);
    EXPECT_EQ(sparks->getPpsRange(), CVector2d(3, 4));
    EXPECT_EQ(sparks->getScheduler(), nullptr);
    EXPECT_EQ(sparks->getParticles(), nullptr);
    EXPECT_NE(published(u"Smoke"), nullptr);

    // A load by name hands out a fresh copy of the published template.
    const CRefPointer<CContent> rain = manager->load(kEmitter, u"Rain", false);
    ASSERT_TRUE(rain);
    EXPECT_NE(rain.get(), published(u"Rain"));
    EXPECT_TRUE(static_cast<BaseEmitter*>(rain.get())->isKindOf(RectangleEmitter::kTypeId));
    EXPECT_EQ(static_cast<BaseEmitter*>(rain.get())->getPpsRange(), CVector2d(5, 5));

    // The collection itself is never cached: each load reads the file again.
    EXPECT_EQ(
        manager->find(kCollection, CContentKey(manager.get(), u"scenes/ParticleCollection.xml")),
        nullptr);
    EXPECT_NE(manager->load(kCollection, u"scenes/ParticleCollection.xml", false), scenes);
}

TEST_F(ParticleCollectionTest, UnknownTypesAndUnnamedEmittersAreDropped) {
    const CRefPointer<ParticleCollection> collection =
        load("a.xml",
             collectionXml(emitterXml("BaseEmitter", "Base") + emitterXml("pointemitter", "Lower") +
                           emitterXml("", "Untyped") +
                           "<ParticleEmitter><Properties><stringw Name=\"Name\" "
                           "Value=\"NoType\"/></Properties></ParticleEmitter>" +
                           emitterXml("PointEmitter", "") + emitterXml("PointEmitter", "Kept")));
    ASSERT_TRUE(collection);
    EXPECT_EQ(collection->getEmitterCount(), 1u);
    EXPECT_NE(collection->findEmitter("Kept"), nullptr);
    for (const char16_t* name : {u"Base", u"Lower", u"Untyped", u"NoType", u""})
        EXPECT_EQ(published(name), nullptr);
}

TEST_F(ParticleCollectionTest, TheFirstEmitterOfANameStaysAcrossFiles) {
    const CRefPointer<ParticleCollection> first =
        load("first.xml", collectionXml(emitterXml("PointEmitter", "Glow", "1;1") +
                                        emitterXml("RectangleEmitter", "Glow", "2;2")));
    const CRefPointer<ParticleCollection> second =
        load("second.xml", collectionXml(emitterXml("PointEmitter", "Glow", "3;3")));
    EXPECT_EQ(publishedRate(u"Glow"), CVector2d(1, 1));
    EXPECT_EQ(first->getEmitterCount(), 1u);
    EXPECT_EQ(first->findEmitter("Glow")->getTypeId(), PointEmitter::kTypeId);
    // The later file keeps its own, which nobody finds by name.
    EXPECT_EQ(second->findEmitter("Glow")->getPpsRange(), CVector2d(3, 3));
}

TEST_F(ParticleCollectionTest, EmittersAreFoundAnywhereUpToTheEndOfTheCollection) {
    load("bare.xml", emitterXml("PointEmitter", "Bare"));
    load("nested.xml", "<ParticleCollection><Group>" + emitterXml("PointEmitter", "Deep") +
                           "</Group></ParticleCollection>" + emitterXml("PointEmitter", "After"));
    EXPECT_NE(published(u"Bare"), nullptr);
    EXPECT_NE(published(u"Deep"), nullptr);
    EXPECT_EQ(published(u"After"), nullptr);
}

TEST_F(ParticleCollectionTest, ASelfClosingEmitterDoesNotTakeTheNextOnesProperties) {
    const CRefPointer<ParticleCollection> collection =
        load("a.xml", collectionXml("<ParticleEmitter Type=\"PointEmitter\"/>" +
                                    emitterXml("RectangleEmitter", "Next", "7;7")));
    EXPECT_EQ(collection->getEmitterCount(), 1u);
    ASSERT_NE(published(u"Next"), nullptr);
    EXPECT_EQ(published(u"Next")->getTypeId(), RectangleEmitter::kTypeId);
    EXPECT_EQ(published(u"Next")->getPpsRange(), CVector2d(7, 7));
}

TEST_F(ParticleCollectionTest, PropertiesBlocksApplyInTurn) {
    load("a.xml", collectionXml("<ParticleEmitter Type=\"PointEmitter\"><Properties>"
                                "<stringw Name=\"Name\" Value=\"Twice\"/>"
                                "<vector2d Name=\"PPSRange\" Value=\"1;1\"/>"
                                "<vector2d Name=\"LifeTimeRange\" Value=\"5;6\"/>"
                                "</Properties><Properties>"
                                "<vector2d Name=\"PPSRange\" Value=\"8;9\"/>"
                                "</Properties></ParticleEmitter>"
                                "<ParticleEmitter Type=\"PointEmitter\"><Properties>"
                                "<stringw Name=\"Name\" Value=\"WrongKind\"/>"
                                "<float Name=\"PPSRange\" Value=\"4\"/>"
                                "</Properties></ParticleEmitter>"));
    ASSERT_NE(published(u"Twice"), nullptr);
    EXPECT_EQ(published(u"Twice")->getPpsRange(), CVector2d(8, 9));
    EXPECT_EQ(published(u"Twice")->getLifeTimeRange(), CVector2d(5, 6));
    EXPECT_EQ(publishedRate(u"WrongKind"), CVector2d(0, 0));
}

TEST_F(ParticleCollectionTest, ReadingAgainRefillsTheCollectionButPublishesNothingNew) {
    const std::string text = collectionXml(emitterXml("PointEmitter", "Once"));
    const CRefPointer<ParticleCollection> collection = load("a.xml", text);
    BaseEmitter* before = published(u"Once");
    CRefPointer<CXmlTextReader> reader = files->openXmlReader(folder.wide("a.xml"));
    ASSERT_TRUE(reader);
    collection->readXml(*reader);
    EXPECT_EQ(published(u"Once"), before);
    EXPECT_EQ(collection->getEmitterCount(), 1u);
    EXPECT_NE(collection->findEmitter("Once"), before);
}

TEST_F(ParticleCollectionTest, WithoutCachingOrAManagerNothingIsPublished) {
    manager->setCaching(false);
    const CRefPointer<ParticleCollection> collection =
        load("a.xml", collectionXml(emitterXml("PointEmitter", "Hidden")));
    EXPECT_EQ(collection->getEmitterCount(), 1u);
    manager->setCaching(true);
    EXPECT_EQ(published(u"Hidden"), nullptr);

    CRefPointer<ParticleCollection> orphan(new ParticleCollection(CContentKey()));
    CRefPointer<CXmlTextReader> reader = files->openXmlReader(folder.wide("a.xml"));
    orphan->readXml(*reader);
    EXPECT_EQ(orphan->getEmitterCount(), 0u);
}

TEST_F(ParticleCollectionTest, EmitterFilesLoadIntoTheBaseClass) {
    writeFile("single.xml", "<ParticleEmitter><Properties><stringw Name=\"Name\" Value=\"One\"/>"
                            "<vector2d Name=\"LifeTimeRange\" Value=\"1;2\"/></Properties>"
                            "</ParticleEmitter>");
    const CRefPointer<CContent> loaded = manager->load(kEmitter, u"single.xml", false);
    ASSERT_TRUE(loaded);
    const auto* emitter = static_cast<BaseEmitter*>(loaded.get());
    EXPECT_EQ(emitter->getTypeId(), BaseEmitter::kTypeId);
    EXPECT_STREQ(emitter->getName().c_str(), "One");
    EXPECT_EQ(emitter->getLifeTimeRange(), CVector2d(1, 2));
}

TEST_F(ParticleCollectionTest, NeitherProcessorSaves) {
    const CRefPointer<ParticleCollection> collection =
        load("a.xml", collectionXml(emitterXml("PointEmitter", "S")));
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(manager->save(kCollection, collection.get(), folder.wide("out.xml"), 0));
    EXPECT_FALSE(manager->save(kEmitter, published(u"S"), folder.wide("out2.xml"), 0));
    const std::string log = ::testing::internal::GetCapturedStdout();
    for (const char* name : {"out.xml", "out2.xml"}) {
        const std::string line =
            "Particle collection can't be saved: " + (folder.path() / name).string();
        EXPECT_NE(log.find(line), std::string::npos) << log;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "out.xml"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "out2.xml"));
}

TEST_F(ParticleCollectionTest, TheFactoryKeepsTheFirstCreatorOfAName) {
    CParticleEmitterFactory* factory = CEngineServices::instance()->getParticleEmitterFactory();
    ASSERT_NE(factory, nullptr);
    factory->registerEmitterType(u"PointEmitter", [](const CContentKey& key) {
        return CRefPointer<BaseEmitter>(new RectangleEmitter(key));
    });
    factory->registerEmitterType(u"Custom", [](const CContentKey& key) {
        return CRefPointer<BaseEmitter>(new PointEmitter(key));
    });
    const CContentKey key(manager.get(), u"k");
    EXPECT_EQ(factory->createEmitter(u"PointEmitter", key)->getTypeId(), PointEmitter::kTypeId);
    EXPECT_EQ(factory->createEmitter(u"RectangleEmitter", key)->getContentKey(), key);
    EXPECT_EQ(factory->createEmitter(u"Custom", key)->getTypeId(), PointEmitter::kTypeId);
    EXPECT_FALSE(factory->createEmitter(u"BaseEmitter", key));
}

} // namespace
