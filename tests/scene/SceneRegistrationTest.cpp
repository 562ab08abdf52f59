#include "engine/scene/SceneRegistration.h"

#include <gtest/gtest.h>

#include "engine/core/EngineServiceFactories.h"
#include "engine/core/EngineServices.h"
#include "engine/core/EngineSubsystemFactories.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneManager.h"
#include "tests/core/StubDevice.h"

namespace {

class SceneRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override { CEngineServices::destroyInstance(); }
    void TearDown() override {
        engineSubsystemFactories() = EngineSubsystemFactories();
        engineServiceFactories() = EngineServiceFactories();
        contentProcessorFactories() = ContentProcessorFactories();
        CEngineServices::destroyInstance();
    }
};

TEST_F(SceneRegistrationTest, TheLibraryBringsTheNodeFactorySceneManagersAndSceneFiles) {
    registerSceneLibrary();
    const CRefPointer<StubDevice> engine(new StubDevice());
    CNodeFactory* factory = CEngineServices::instance()->getNodeFactory();
    ASSERT_NE(factory, nullptr);
    for (const char16_t* type :
         {u"BaseNode", u"ControlNode", u"SceneNode", u"TemplateCollectionNode"})
        EXPECT_TRUE(factory->createNode(type, CContentKey())) << CString(type).c_str();
    EXPECT_FALSE(factory->createNode(u"MessageBoxNode", CContentKey()));

    const CRefPointer<SceneManager> manager = engine->createSceneManager().toRefPointer();
    ASSERT_TRUE(manager);
    EXPECT_EQ(manager->getEngine(), engine.get());
    ASSERT_NE(engine->getContentProcessorsManager(), nullptr);
    EXPECT_NE(engine->getContentProcessorsManager()->findProcessor(contentType("snod")), nullptr);
}

} // namespace
