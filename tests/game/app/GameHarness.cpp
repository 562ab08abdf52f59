#include "tests/game/app/GameHarness.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "engine/core/DeviceFactory.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Utf.h"
#include "engine/io/ProfileManager.h"
#include "engine/platform/DriverFactories.h"
#include "engine/platform/EngineDeviceFactory.h"
#include "engine/ui/UiRegistration.h"
#include "engine/video/d3d/host/D3DModuleRegistry.h"
#include "game/app/ProgramEntry.h"
#include "tests/audio/LoopbackOutput.h"

namespace {

constexpr uint32_t kFrameMs = 20;

GameHarness* g_harness = nullptr;

CEngine* makeDevice(const CreationParameters& parameters) {
    return createEngineDevice(parameters, g_harness->host, nullptr, g_harness->clock);
}

// OpenAL on a loopback device that nothing renders: a sound plays until it is stopped, however
// long the machine takes between two steps of the test's clock.
CRefPointer<IAudioDriver> makeAudio(const AudioParameters& parameters,
                                    IVirtualFileSystem* fileSystem,
                                    CSoundLoaderManager* soundLoaders) {
    return COpenALAudioDriver::create(parameters,
                                      CRefPointer<IVirtualFileSystem>::share(fileSystem),
                                      soundLoaders, loopback::output());
}

} // namespace

void GameHarness::registerGame() {
    registerUiLibrary();
    deviceFactory() = &makeDevice;
    openALDriverFactory() = &makeAudio;
}

namespace {

std::string pathOf(const std::filesystem::path& folder, const char* name) {
    std::filesystem::create_directories(folder / name);
    return (folder / name).string();
}

} // namespace

GameHarness::GameHarness()
    : m_contentBase(m_folder.path() / "base"), m_dataHome(m_folder.path() / "data"),
      m_dataEnvironment("XDG_DATA_HOME", pathOf(m_folder.path(), "data").c_str()),
      m_stateEnvironment("XDG_STATE_HOME", pathOf(m_folder.path(), "state").c_str()),
      m_runtimeEnvironment("XDG_RUNTIME_DIR", pathOf(m_folder.path(), "runtime").c_str()) {
    settings = gameStartupSettings();
    settings.registerLibraries = &GameHarness::registerGame;
    settings.instanceName = CString();
    settings.installCrashHandler = false;
    std::filesystem::create_directories(m_contentBase);
    std::filesystem::create_symlink(VELMORA_CONTENT_ARCHIVE, m_contentBase / "assets.qca");
}

GameHarness::~GameHarness() {
    stop();
}

bool GameHarness::start(const CStringW& extraContentFolder) {
    stop();
    g_harness = this;
    developerMode = false;
    CEngineServices::destroyInstance();
    contentBasePath() = utf8ToUtf16((m_contentBase.string() + "/").c_str());
    m_startup.emplace(settings);
    // After the libraries' registration, which names the runtime on OpenGL.
    m_direct3D.emplace();
    // The front buffer that a capture reads is the whole desktop.
    m_direct3D->script.displayMode.Width = uint32_t(host.desktopMode.width);
    m_direct3D->script.displayMode.Height = uint32_t(host.desktopMode.height);
    CD3DModuleRegistry::instance().setHostWindowSystem(&host);
    m_application = CRefPointer<GGameApplication>(new GGameApplication());
    if (!m_application->initialize(extraContentFolder, *m_startup))
        return false;
    m_startup->setMainWindow();
    return true;
}

void GameHarness::stop() {
    m_application.reset();
    m_startup.reset();
    m_direct3D.reset();
    CD3DModuleRegistry::instance().setHostWindowSystem(nullptr);
    deviceFactory() = nullptr;
    CEngineServices::destroyInstance();
    g_harness = nullptr;
}

void GameHarness::advance(uint32_t milliseconds) {
    while (milliseconds > 0) {
        const uint32_t step = std::min(milliseconds, kFrameMs);
        clock.advanceMs(step);
        milliseconds -= step;
        runMessages();
        m_startup->runOnce();
    }
}

void GameHarness::runMessages() {
    while (host.queuedMessages() > 0 && m_startup->runOnce()) {
    }
}

void GameHarness::pressKey(uint32_t virtualKey, char16_t character) {
    postKey(WM_KEYDOWN, virtualKey, character);
}

void GameHarness::typeKey(uint32_t virtualKey, char16_t character) {
    postKey(WM_KEYDOWN, virtualKey, character);
    postKey(WM_KEYUP, virtualKey, character);
}

void GameHarness::postKey(uint32_t message, uint32_t virtualKey, char16_t character) {
    HostMessage key;
    key.window = window();
    key.message = message;
    key.wParam = virtualKey;
    key.character = character;
    host.postMessage(key);
}

CEngine& GameHarness::engine() const {
    return *m_startup->getEngine();
}

CProfileManager& GameHarness::profiles() const {
    return *engine().getProfileManager();
}

CProfileParameters& GameHarness::player() {
    CProfileManager& manager = profiles();
    if (manager.getActiveProfile() == nullptr) {
        manager.addProfile(u"Tester");
        manager.setActiveProfile(manager.getProfileCount() - 1);
    }
    return *manager.getActiveProfile();
}

HostWindow GameHarness::window() const {
    return engine().getCreationParameters().windowHandle;
}

std::string GameHarness::logText() const {
    return readGameLog(m_dataHome);
}

std::string GameHarness::logProblems() const {
    const std::string log = logText();
    std::string problems;
    for (size_t start = 0; start < log.size();) {
        const size_t end = std::min(log.find('\n', start), log.size());
        const std::string line = log.substr(start, end - start);
        const bool problem = line.rfind("WRN: ", 0) == 0 || line.rfind("ERR: ", 0) == 0;
        if (problem)
            problems += line + "\n";
        start = end + 1;
    }
    return problems;
}

std::string readGameLog(const std::filesystem::path& dataHome) {
    std::ifstream file(dataHome / "QuorvaneTessmark" / "Velmora" / "Velmora.log", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
        if (unit != 0xFEFF)
            units += unit == u'\r' ? u'\n' : unit;
    }
    return utf16ToUtf8(units.c_str()).c_str();
}
