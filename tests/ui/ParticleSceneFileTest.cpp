#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/core/EngineServices.h"
#include "engine/io/ContentManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/ui/ParticleSystemNode.h"
#include "engine/ui/SpawnerNode.h"
#include "io/TempFolder.h"
#include "scene/SceneXmlFixtures.h"
#include "ui/ParticleServices.h"

namespace {

constexpr const char* kCollection = R"(<?xml version="1.0"?>
<ParticleCollection>
	<ParticleEmitter Type="PointEmitter">
		<Properties>
			<stringw Name="Name" Value="Sparks" />
			<vector2d Name="PPSRange" Value="100;100" />
		</Properties>
	</ParticleEmitter>
</ParticleCollection>
)";

constexpr const char* kScene = R"(<?xml version="1.0"?>
<SceneNode Type="SceneNode">
	<SceneNode Type="ParticleSystemNode">
		<Properties>
			<string Name="Name" Value="Fire" />
			<vector3d Name="Position" Value="40;30;0" />
			<bool Name="Global" Value="true" />
			<stringw Name="EmitterName" Value="Sparks" />
		</Properties>
	</SceneNode>
	<SceneNode Type="SpawnerNode">
		<Properties>
			<string Name="Name" Value="Stars" />
			<stringw Name="ObjTemplate" Value="Star" />
			<properties Name="ObjectsProperties">
				<string Name="Name" Value="Spawned" />
			</properties>
		</Properties>
	</SceneNode>
</SceneNode>
)";

std::string plainText(const std::u16string& text) {
    std::string plain;
    for (const char16_t unit : text) {
        if (unit < 0x80)
            plain += char(unit);
    }
    return plain;
}

// Collections and scene files read through the engine's processors from a temporary folder.
class ParticleSceneFileTest : public ParticleServicesTest {
protected:
    ParticleSceneFileTest() {
        files->addArchive(folder.wide(), nullptr);
        write("levels/common/ParticleCollection.xml", kCollection);
        write("scenes/Effects.qscn", kScene);
    }

    void write(const std::string& name, const char* text) {
        std::filesystem::create_directories((folder.path() / name).parent_path());
        std::ofstream(folder.path() / name, std::ios::binary) << text;
    }

    template <typename Node>
    Node* child(BaseNode& scene, const char* name) {
        BaseNode* found = scene.findChild(CNameId(CString(name)), 1);
        return found != nullptr && found->isKindOf(Node::kTypeId) ? static_cast<Node*>(found)
                                                                  : nullptr;
    }

    TempFolder folder;
    CRefPointer<IVirtualFileSystem> files{new CVirtualFileSystem};
    CRefPointer<CContentProcessorsManager> processors{new CContentProcessorsManager(
        {{}, {}, files, CEngineServices::instance()->getNodeFactoryReference()})};
    CRefPointer<CContentManager> manager{new CContentManager({}, files, processors)};
};

TEST_F(ParticleSceneFileTest, TheEngineMakesTheParticleNodesByName) {
    const CNodeFactory* factory = CEngineServices::instance()->getNodeFactory();
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(factory->createNode(u"ParticleSystemNode", CContentKey())->getTypeId(),
              ParticleSystemNode::kTypeId);
    EXPECT_EQ(factory->createNode(u"SpawnerNode", CContentKey())->getTypeId(),
              SpawnerNode::kTypeId);
    EXPECT_EQ(factory->createNode(u"SceneNode", CContentKey())->getTypeId(), SceneNode::kTypeId);
}

TEST_F(ParticleSceneFileTest, AParticleSystemInASceneFindsItsEmitterInACollectionFile) {
    const CRefPointer<CContent> collection =
        manager->load(contentType("prtc"), u"levels/common/ParticleCollection.xml", false);
    ASSERT_TRUE(collection);
    const CRefPointer<CContent> loaded =
        manager->load(contentType("snod"), u"scenes/Effects.qscn", false);
    ASSERT_TRUE(loaded);
    auto& scene = static_cast<BaseNode&>(*loaded);
    ParticleSystemNode* fire = child<ParticleSystemNode>(scene, "Fire");
    ASSERT_NE(fire, nullptr);
    ASSERT_NE(fire->getEmitter(), nullptr);
    EXPECT_EQ(fire->getEmitter()->getPpsRange(), CVector2d(100, 100));
    EXPECT_NE(fire->getEmitter(),
              manager->find(contentType("pemt"), CContentKey(manager.get(), u"Sparks")));
    EXPECT_TRUE(fire->isGlobal());

    // Global: the first particles start where the node is, not at the scene's origin.
    RenderList list;
    scene.collectDrawables(list);
    fire->getEmitter()->OnUpdate(10);
    ASSERT_EQ(fire->getParticles().size(), 1u);
    EXPECT_EQ(fire->getParticles()[0].x, 40);
    EXPECT_EQ(fire->getParticles()[0].y, 30);
}

TEST_F(ParticleSceneFileTest, ASpawnerTakesItsTemplatesFromItsManagerAndSavesNoGhosts) {
    const CRefPointer<CContent> loaded =
        manager->load(contentType("snod"), u"scenes/Effects.qscn", false);
    ASSERT_TRUE(loaded);
    auto* scene = static_cast<SceneNode*>(loaded.get());
    SpawnerNode* stars = child<SpawnerNode>(*scene, "Stars");
    ASSERT_NE(stars, nullptr);
    EXPECT_EQ(stars->getTemplateCount(), 0u);

    CRefPointer<SceneManager> scenes(new SceneManager(CContentKey(), nullptr, nullptr));
    CRefPointer<TemplateCollectionNode> templates(
        new TemplateCollectionNode(CContentKey(), nullptr, nullptr));
    CRefPointer<BaseNode>(new BaseNode(CContentKey(), templates.get(), nullptr))
        ->setName(CNameId(CString("Star")));
    templates->OnLoaded();
    scenes->setTemplateCollection(templates.get());
    scenes->openScene(scene, CNameId());
    EXPECT_EQ(stars->getTemplateCount(), 1u);

    stars->spawn(2);
    ASSERT_EQ(stars->getChildCount(), 2u);
    EXPECT_EQ(stars->getChild(0)->getName(), CNameId(CString("Spawned")));
    XmlCapture capture;
    scene->saveToXml(capture.writer());
    const std::string saved = plainText(capture.text());
    const size_t spawner = saved.find("<SceneNode Type=\"SpawnerNode\">");
    ASSERT_NE(spawner, std::string::npos);
    EXPECT_EQ(saved.find("<SceneNode", spawner + 1), std::string::npos) << saved;
    EXPECT_NE(saved.find("Spawned"), std::string::npos);
}

} // namespace
