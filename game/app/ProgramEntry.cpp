#include "game/app/ProgramEntry.h"

#include "engine/core/Logger.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Utf.h"
#include "engine/io/Path.h"
#include "engine/ui/UiRegistration.h"
#include "game/app/GameApplication.h"

CStringW& contentBasePath() {
    static CStringW path;
    return path;
}

EngineStartupSettings gameStartupSettings() {
    EngineStartupSettings settings;
    settings.registerLibraries = &registerUiLibrary;
    settings.publisherName = u"QuorvaneTessmark";
    settings.titleName = u"Velmora";
    settings.titleCaption = u"Velmora";
    settings.instanceName = "Velmora Game Instance";
    return settings;
}

// The application goes before the start-up, which holds the engine and the guard.
int programMain(int argc, char** argv) {
    CEngineStartup startup(gameStartupSettings());
    if (startup.isAnotherInstanceRunning())
        return 0;
    const CStringW extraContentFolder = argc >= 2 ? utf8ToUtf16(argv[1]) : CStringW();
    // Without a known working directory the names stay relative, which is where it was.
    const CStringW workingDirectory = currentDirectory();
    contentBasePath() = workingDirectory.isEmpty() ? CStringW() : workingDirectory + u"/";
    CRefPointer<GGameApplication> application(new GGameApplication());
    if (!application->initialize(extraContentFolder, startup)) {
        CLogger::instance()->logChars("Failed to initialize game", CLogger::LevelError);
        return 1;
    }
    startup.setMainWindow();
    while (startup.runOnce()) {
    }
    return 0;
}
