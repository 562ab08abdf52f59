// Started by the start-up benchmark, once per measurement, as a fresh process: either the
// game's start-up up to the first presented frame of the logos scene ("game"), or the floor
// beneath it, a window of the same window layer with an OpenGL context presenting one cleared
// frame ("window"). It writes its resident memory at that moment, in kilobytes, to descriptor 3
// and ends at once; the benchmark times it from start to that line.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "engine/core/Engine.h"
#include "engine/core/EventSystemFlowRender.h"
#include "engine/core/RefPointer.h"
#include "engine/io/Path.h"
#include "engine/platform/EngineStartup.h"
#include "engine/platform/host/GLFunctions.h"
#include "engine/platform/host/IHostGL.h"
#include "engine/platform/host/IHostWindowSystem.h"
#include "engine/platform/host/SdlPlatform.h"
#include "engine/scene/SceneManager.h"
#include "game/app/GameApplication.h"
#include "game/app/ProgramEntry.h"

namespace {

// Sees the render events after the application, which has presented the frame by then.
class FirstFrameWatcher : public CEventReceiver {
public:
    FirstFrameWatcher() { setCategoryMask(CEvent::CategorySystem); }
    bool OnEvent(CEvent& event) override {
        if (event.getTypeId() == CEventSystemFlowRender::Id)
            presented = true;
        return false;
    }
    bool presented = false;
};

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

void report() {
    dprintf(3, "%ld\n", residentKilobytes());
    std::_Exit(0);
}

int runGame() {
    CEngineStartup startup(gameStartupSettings());
    contentBasePath() = currentDirectory() + u"/";
    CRefPointer<GGameApplication> application(new GGameApplication());
    if (!application->initialize(CStringW(), startup) ||
        application->getSceneManager()->getCurrentScene() == nullptr)
        return 1;
    CRefPointer<FirstFrameWatcher> watcher(new FirstFrameWatcher());
    startup.getEngine()->addReceiver(watcher.get(), 100);
    while (!watcher->presented) {
        if (!startup.runOnce())
            return 1;
    }
    report();
    return 0;
}

int runWindow() {
    IHostWindowSystem& host = sdlHostWindowSystem();
    IHostGL* facet = host.getGL();
    const HostWindow window = host.createWindow(HostWindowDesc{"Velmora", 0, 0, 1024, 768, false});
    GLFunctions gl;
    HostGLContext context = kNoHostGLContext;
    const int32_t format = facet != nullptr ? facet->choosePixelFormat(HostGLPixelFormat()) : 0;
    if (window == kNoHostWindow || format == 0 || !facet->setPixelFormat(window, format) ||
        (context = facet->createContext(window)) == kNoHostGLContext ||
        !facet->makeCurrent(window, context) || !gl.load(*facet))
        return 1;
    gl.ClearColor(0, 0, 0, 1);
    gl.Clear(GL_COLOR_BUFFER_BIT);
    facet->swapBuffers(window);
    report();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "game") == 0)
        return runGame();
    if (argc == 2 && std::strcmp(argv[1], "window") == 0)
        return runWindow();
    std::fprintf(stderr, "usage: %s game|window\n", argv[0]);
    return 2;
}
