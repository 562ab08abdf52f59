#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/core/EngineServiceFactories.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Utf.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/platform/host/HostWindowSystemSdl.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/SceneNodeProcessor.h"
#include "engine/video/ImageLoaderManager.h"
#include "engine/video/QuadBatcher.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/VideoContentProcessors.h"
#include "engine/video/d3d/D3DDriverFactories.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "engine/video/d3d/host/GLDirect3D9.h"
#include "engine/video/opengl/OpenGLRenderDriver.h"
#include "game/app/GameClassRegistration.h"
#include "game/app/LogosScene.h"
#include "game/screens/CounterTextNode.h"
#include "support/GoldenImage.h"

// The game's widgets from a test scene ("tests/screens/fixtures/WidgetPicture.qscn"), drawn as
// a frame draws them by the OpenGL driver and by the Direct3D 9 driver on its GL runtime, under
// SDL's offscreen video on Mesa: both give the one golden picture.
namespace {

constexpr uint32_t kWidth = 160;
constexpr uint32_t kHeight = 96;

std::filesystem::path fixtureFolder(const char* tests) {
    return std::filesystem::path(VANTOR_SOURCE_DIR) / "tests" / tests / "fixtures" / "";
}

class WidgetPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.isReady());
        engineServiceFactories().imageLoaderManager = [] {
            return CServiceReference<CImageLoaderManager>::adopt(new CImageLoaderManager());
        };
        engineServiceFactories().nodeFactory = [] {
            return CServiceReference<CNodeFactory>::adopt(new CNodeFactory());
        };
        CEngineServices::destroyInstance();
        registerGameClasses();
        thousandsDelimiter = u',';
    }

    void TearDown() override {
        closeDriver();
        engineServiceFactories() = EngineServiceFactories();
        CEngineServices::destroyInstance();
        CD3DModuleRegistry::instance().unregisterModule("d3d9.dll");
        CD3DModuleRegistry::instance().setHostWindowSystem(nullptr);
    }

    // The driver of the type (3 OpenGL, 2 Direct3D 9) in a window of its own, with a content
    // manager over the widget fixtures and the test font.
    void openDriver(uint32_t driverType) {
        closeDriver();
        HostWindowDesc desc;
        desc.title = "Widgets";
        desc.width = int32_t(kWidth);
        desc.height = int32_t(kHeight);
        window = host.createWindow(desc);
        ASSERT_NE(window, kNoHostWindow);
        CreationParameters parameters;
        parameters.driverType = driverType;
        parameters.width = kWidth;
        parameters.height = kHeight;
        parameters.bits = 32;
        parameters.windowHandle = window;
        if (driverType == 3) {
            driver = COpenGLRenderDriver::create(parameters, nullptr, nullptr, *host.getGL());
        } else {
            CD3DModuleRegistry::instance().setHostWindowSystem(&host);
            registerGLDirect3DModules(host);
            driver = createD3D9Driver(parameters, nullptr);
        }
        ASSERT_TRUE(driver);
        files = CRefPointer<IVirtualFileSystem>(new CVirtualFileSystem);
        for (const char* tests : {"screens", "video"})
            ASSERT_TRUE(
                files->addArchive(utf8ToUtf16(fixtureFolder(tests).string().c_str()), nullptr));
        ContentProcessorFactories factories;
        registerVideoContentProcessors(factories);
        driver->addRef();
        const CServiceReference<IRenderDriver> reference =
            CServiceReference<IRenderDriver>::adopt(driver.get());
        processors = CRefPointer<CContentProcessorsManager>(
            new CContentProcessorsManager({reference, {}, files, {}}, factories));
        processors->registerProcessor(CRefPointer<IContentProcessor>(new CSceneNodeProcessor(
            CRefPointer<CNodeFactory>::share(CEngineServices::instance()->getNodeFactory()))));
        content = CRefPointer<CContentManager>(new CContentManager(reference, files, processors));
    }

    void closeDriver() {
        content.reset();
        processors.reset();
        files.reset();
        driver.reset();
        if (window != kNoHostWindow)
            host.destroyWindow(window);
        window = kNoHostWindow;
    }

    // The test scene, its counter run to the end, drawn in one frame as the scene manager
    // draws: entries in depth order, sprites through the 2D batch.
    CRefPointer<CSoftwareImage> drawScene() {
        const CRefPointer<CContent> loaded =
            content->load(contentType("snod"), u"WidgetPicture.qscn", false);
        EXPECT_TRUE(loaded);
        if (!loaded)
            return nullptr;
        auto& scene = static_cast<BaseNode&>(*loaded);
        BaseNode* total = scene.findChild(CNameId(CString("Total")), 1);
        EXPECT_TRUE(total != nullptr && total->isKindOf(GCounterTextNode::kTypeId));
        if (total != nullptr && total->isKindOf(GCounterTextNode::kTypeId)) {
            auto& counter = static_cast<GCounterTextNode&>(*total);
            counter.setStartCounting(true);
            counter.OnUpdate(1000);
        }
        driver->startFrame(true, true, CColor(0xFF202838), nullptr, nullptr);
        CQuadBatcher& batch = *driver->getQuadBatcher();
        batch.begin();
        RenderList list;
        scene.collectDrawables(list);
        sortRenderList(list);
        for (const Drawable& entry : list)
            entry.node->render(driver.get(), nullptr);
        batch.end();
        // Direct3D shows its back buffer before the picture can be read from the screen.
        if (driver->getDriverKind() != DRIVER_KIND_OPENGL)
            driver->presentFrame();
        return driver->captureScreen();
    }

    CHostWindowSystemSdl host;
    HostWindow window = kNoHostWindow;
    CRefPointer<IRenderDriver> driver;
    CRefPointer<IVirtualFileSystem> files;
    CRefPointer<CContentProcessorsManager> processors;
    CRefPointer<CContentManager> content;
};

// Pixels whose centres lie on a fan's edge, which llvmpipe may give to either side between the
// two ways of drawing.
constexpr int64_t kEdgePixels = 4;

// The golden is the OpenGL driver's picture; Direct3D 9 must match it and never rewrites it.
TEST_F(WidgetPictureTest, OpenGLAndDirect3D9DrawTheWidgetsAlike) {
    openDriver(3);
    CRefPointer<CSoftwareImage> picture = drawScene();
    ASSERT_TRUE(picture);
    EXPECT_TRUE(matchesGolden(*picture, "screens-widgets", 4));
    openDriver(2);
    picture = drawScene();
    ASSERT_TRUE(picture);
    EXPECT_TRUE(
        matchesGoldenOf(*picture, "screens-widgets", "screens-widgets-d3d9", 4, kEdgePixels));
}

} // namespace
