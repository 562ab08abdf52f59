#pragma once

#include <string>

#include <gtest/gtest.h>

#include "engine/core/EngineServiceFactories.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Utf.h"
#include "engine/io/Dictionary.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/SceneNodeProcessor.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/GameClassRegistration.h"
#include "tests/scene/SceneTestNodes.h"
#include "tests/scene/SceneXmlFixtures.h"
#include "tests/video/VideoContentFixture.h"

// Made first, so that the services the content fixture builds have a node factory.
struct NodeFactoryService {
    NodeFactoryService() {
        engineServiceFactories().nodeFactory = [] {
            return CServiceReference<CNodeFactory>::adopt(new CNodeFactory());
        };
    }
};

// The game's widgets read from scene files with the game's classes registered, over a content
// folder of their own with images of 100 x 50 ("images/Wide.png") and 40 x 20 pixels
// ("images/Empty.png", "images/Full.png") and the templates "Pie" (an ellipse sector
// "Ellipse") and "Plain" (none); drawn through a recording driver. The dictionary gives
// "MoneyDollar" as "$#p".
class WidgetTest : public NodeFactoryService, public VideoContentTest {
protected:
    WidgetTest() {
        registerGameClasses();
        processors->registerProcessor(CRefPointer<IContentProcessor>(new CSceneNodeProcessor(
            CRefPointer<CNodeFactory>::share(CEngineServices::instance()->getNodeFactory()))));
        writeImage("images/Wide.png", 100, 50);
        writeImage("images/Empty.png", 40, 20);
        writeImage("images/Full.png", 40, 20);
        writeText("Templates.qscn", R"(<SceneNode Type="TemplateCollectionNode">
<SceneNode Type="BaseNode"><Properties><string Name="Name" Value="Pie"/></Properties>
  <SceneNode Type="GEllipseSectorNode"><Properties><string Name="Name" Value="Ellipse"/>
  </Properties></SceneNode>
</SceneNode>
<SceneNode Type="BaseNode"><Properties><string Name="Name" Value="Plain"/></Properties>
</SceneNode>
</SceneNode>)");
        templates = load<TemplateCollectionNode>("snod", "Templates.qscn");
        sceneManager->setTemplateCollection(templates.get());
        CEngineServices::instance()->getDictionary()->readXml(
            readerOver(u"<Dictionary><s n=\"MoneyDollar\">$#p</s></Dictionary>").get());
    }

    // The nodes of the text, a scene file's body, under a scene opened in the scene manager.
    CRefPointer<SceneNode> openScene(const std::string& body) {
        // Loaded files stay cached by their names.
        const std::string name = "scene" + std::to_string(++m_sceneFiles) + ".qscn";
        writeText(name, "<SceneNode Type=\"SceneNode\">" + body + "</SceneNode>");
        CRefPointer<SceneNode> scene = load<SceneNode>("snod", name);
        EXPECT_TRUE(scene);
        if (scene) {
            sceneManager->openScene(scene.get(), CNameId());
            sceneManager->OnUpdate(20);
        }
        return scene;
    }

    template <typename Node>
    static Node& find(const BaseNode& root, const char* name) {
        BaseNode* node = root.findChild(nameId(name), 0);
        EXPECT_TRUE(node != nullptr && node->isKindOf(Node::kTypeId)) << name;
        return *static_cast<Node*>(node);
    }

    // What the tree adds to a render list.
    static RenderList collect(BaseNode& root) {
        RenderList list;
        root.collectDrawables(list);
        return list;
    }

    // A render pass over the tree, each entry drawn; the recorded draws of this pass.
    std::vector<RecordingRenderDriver::Draw> draw(BaseNode& root) {
        driver->draws.clear();
        for (const Drawable& entry : collect(root))
            entry.node->render(driver.get(), nullptr);
        return driver->draws;
    }

    CRefPointer<TemplateCollectionNode> templates;
    CRefPointer<SceneManager> sceneManager{new SceneManager(CContentKey(), nullptr, nullptr)};

private:
    int m_sceneFiles = 0;
};
