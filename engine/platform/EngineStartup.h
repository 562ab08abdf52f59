#pragma once

#include <optional>

#include "engine/core/Engine.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/SingleInstanceGuard.h"
#include "engine/platform/PlatformRegistration.h"

// What a program tells the start-up.
struct EngineStartupSettings {
    // The registration of the highest library the program uses, which registers the ones
    // below it.
    void (*registerLibraries)() = &registerPlatformLibrary;
    // The global properties "PublisherName", "TitleName" and "TitleCaption"; the user and
    // common data folders are named after the first two.
    CStringW publisherName = u"Vantor";
    CStringW titleName = u"Vantor Title";
    CStringW titleCaption = u"Vantor Title";
    // The single-instance guard's name; empty runs without a guard. An empty folder is the
    // guard's default one.
    CString instanceName;
    CString instanceFolder;
    bool installCrashHandler = true;
};

// The start-up steps that the program and the tests share, in the order they must run:
// 1. the constructor registers the libraries, installs the crash handler and takes the
//    single-instance guard, all before anything asks for the engine;
// 2. when another copy of the program runs, that copy has been asked to raise its window and
//    this one makes nothing more and ends with code 0;
// 3. startEngine makes the engine through the registered device factory, sets the title
//    properties and then gives the file system the data-folder names from them and the engine
//    services' random generator;
// 4. once the device has its window, setMainWindow hands it to the guard; from then on runOnce
//    restores and raises the window whenever a later start asks, before each pass of the loop,
//    and a request wakes the loop when it waits for window messages (while minimised).
// The start-up owns the engine it made; the engine goes before the guard.
class CEngineStartup {
public:
    explicit CEngineStartup(const EngineStartupSettings& settings);
    ~CEngineStartup();
    CEngineStartup(const CEngineStartup&) = delete;
    CEngineStartup& operator=(const CEngineStartup&) = delete;

    bool isAnotherInstanceRunning() const;
    // None when another instance runs or no device can be made. No engine may exist before.
    CEngine* startEngine();
    void setMainWindow();
    // One pass of the main loop; false ends it.
    bool runOnce();

    CEngine* getEngine() const { return m_engine.get(); }

private:
    EngineStartupSettings m_settings;
    std::optional<CSingleInstanceGuard> m_guard;
    // After the guard, so it goes first: no later start is let in while this one still runs.
    CRefPointer<CEngine> m_engine;
};
