#include "engine/core/Engine.h"

#include <cmath>
#include <utility>

#include "engine/core/DeviceFactory.h"
#include "engine/core/EngineSubsystemFactories.h"
#include "engine/core/EventSystemFlowRender.h"
#include "engine/core/Logger.h"
#include "engine/core/Properties.h"

namespace {

CEngine* g_engine = nullptr;

// Sifts the entry at 1-based position p down within positions 1..n of a max-heap on priority.
void siftDown(CArray<ReceiverEntry>& list, uint32_t p, uint32_t n) {
    while (2 * p <= n) {
        uint32_t child = 2 * p;
        if (child + 1 <= n && list[child].priority > list[child - 1].priority)
            ++child;
        if (list[p - 1].priority >= list[child - 1].priority)
            return;
        std::swap(list[p - 1], list[child - 1]);
        p = child;
    }
}

// Not stable on purpose: receivers of equal priority end where this sort leaves them, and the
// start-up sequence's dispatch order depends on it.
void heapSortByPriority(CArray<ReceiverEntry>& list) {
    const uint32_t n = list.size();
    for (uint32_t p = n / 2; p >= 1; --p)
        siftDown(list, p, n);
    for (uint32_t k = n; k >= 1; --k) {
        std::swap(list[0], list[k - 1]);
        siftDown(list, 1, k - 1);
    }
}

// The entry as an integer: 0 for NaN and below, 65535 for the top and beyond (infinity
// included), so no out-of-range float reaches the conversion.
uint16_t toRampEntry(double value) {
    if (!(value > 0.0))
        return 0;
    if (value >= 65535.0)
        return 65535;
    return uint16_t(value);
}

} // namespace

CEngine* CEngine::instance() {
    if (g_engine != nullptr)
        return g_engine;
    const DeviceFactory factory = deviceFactory();
    if (factory == nullptr) {
        CLogger::instance()->logChars("No engine device is registered", CLogger::LevelError);
        return nullptr;
    }
    CEngine* device = factory(CreationParameters());
    if (g_engine == nullptr)
        setInstance(device);
    return g_engine;
}

void CEngine::setInstance(CEngine* engine) {
    g_engine = engine;
}

CEngine::CEngine(const CreationParameters& parameters, IClockSource& clock)
    : m_parameters(parameters), m_timer(new CTimer(clock)) {
    setCategoryMask(0xFFFFFFFFu);
    // The application names itself during its start-up; the device takes its window caption
    // and the file system its data folders from these.
    m_globalProperties = CRefPointer<CProperties>(new CProperties());
    setPropertyStringW(*m_globalProperties, "PublisherName", u"Vantor");
    setPropertyStringW(*m_globalProperties, "TitleName", u"Vantor Title");
    setPropertyStringW(*m_globalProperties, "TitleCaption", u"Vantor Title");
    CString line("Vantor Game Engine version ");
    line.append(m_parameters.version.text);
    CLogger::instance()->logNarrow(line, CLogger::LevelInformation);
}

CEngine::~CEngine() {
    m_receivers.clear();
    m_audioDriver.reset();
    m_videoDriver.reset();
    m_profileManager.reset();
    m_soundPlayer.reset();
    m_contentProcessorsManager.reset();
    m_fileSystem.reset();
    m_systemInfo.reset();
    m_cursorControl.reset();
    m_displayModeList.reset();
    m_timer.reset();
    m_globalProperties.reset();
    if (g_engine == this)
        g_engine = nullptr;
    m_receivers.clear();
}

// Works on a copy, so receivers may add and remove receivers while the event is delivered: one
// removed before its turn is skipped, one added does not get this event.
bool CEngine::sendToChildren(int32_t mode, CEvent& event) {
    const CArray<ReceiverEntry> snapshot(m_receivers);
    for (const ReceiverEntry& entry : snapshot) {
        if (!isReceiverListed(entry.receiver))
            continue;
        if ((entry.receiver->getCategoryMask() & event.getCategory()) == 0)
            continue;
        if (entry.receiver->deliver(mode, event))
            return true;
    }
    return false;
}

bool CEngine::setParameters(const CreationParameters&) {
    return false;
}

bool CEngine::replaceAudioDriver(const AudioParameters&) {
    return false;
}

bool CEngine::runOnce() {
    return false;
}

void CEngine::closeDevice() {
    CLogger::instance()->logChars("closeDevice() was called", CLogger::LevelInformation);
}

bool CEngine::addReceiver(CEventReceiver* receiver, int32_t priority) {
    if (receiver == nullptr || isReceiverListed(receiver))
        return false;
    m_receivers.append(ReceiverEntry{receiver, priority});
    if (m_receivers.size() >= 2)
        heapSortByPriority(m_receivers);
    return true;
}

void CEngine::removeReceiver(CEventReceiver* receiver) {
    for (uint32_t i = 0; i < m_receivers.size(); ++i) {
        if (m_receivers[i].receiver == receiver) {
            m_receivers.eraseAt(i);
            return;
        }
    }
}

CServiceReference<CContentManager> CEngine::createContentManager() {
    const auto factory = engineSubsystemFactories().contentManager;
    if (factory == nullptr) {
        CLogger::instance()->logChars("No content manager factory is registered",
                                      CLogger::LevelError);
        return CServiceReference<CContentManager>();
    }
    return factory(*this);
}

CServiceReference<SceneManager> CEngine::createSceneManager() {
    const auto factory = engineSubsystemFactories().sceneManager;
    if (factory == nullptr) {
        CLogger::instance()->logChars("No scene manager factory is registered",
                                      CLogger::LevelError);
        return CServiceReference<SceneManager>();
    }
    return factory(*this);
}

CRefPointer<CScheduler> CEngine::createScheduler() {
    return CRefPointer<CScheduler>(new CScheduler());
}

bool CEngine::setWindowCaption(const CStringW&) {
    return false;
}

bool CEngine::isActive() const {
    return false;
}

bool CEngine::isMinimised() const {
    return false;
}

bool CEngine::isFullScreen() const {
    return m_parameters.fullScreen;
}

bool CEngine::setGammaRamp(float, float, float, float, float) {
    return false;
}

bool CEngine::getGammaRamp(float&, float&, float&, float&, float&) {
    return false;
}

bool CEngine::openUrl(const CString&) {
    return false;
}

void CEngine::raiseWindow() {}

void CEngine::wakeMessageWait() {}

void CEngine::setMinUpdateInterval(uint32_t ms) {
    m_minUpdateInterval = ms == 0 ? 1 : ms;
}

void CEngine::setMaxUpdateStep(uint32_t ms) {
    m_maxUpdateStep = ms == 0 ? 1 : ms;
}

void CEngine::createSubsystems() {
    const EngineSubsystemFactories& factories = engineSubsystemFactories();
    if (factories.profileManager != nullptr)
        m_profileManager = factories.profileManager(*this);
    if (factories.contentProcessorsManager != nullptr) {
        m_contentProcessorsManager = factories.contentProcessorsManager(*this);
        addReceiver(m_contentProcessorsManager.asReceiver(), -1);
    }
    if (factories.soundPlayer != nullptr) {
        m_soundPlayer = factories.soundPlayer(*this);
        addReceiver(m_soundPlayer.asReceiver(), 1);
    }
    m_lastUpdateTime = m_timer->getTime();
}

// Times are compared as differences, which stay right when the 32-bit clock wraps.
void CEngine::stepFrame(bool update, bool render, uint32_t minimumStep, uint32_t largeStep,
                        uint32_t lagCap) {
    if (!update && !render) {
        stopTimer();
        return;
    }
    if (m_cursorControl)
        m_cursorControl->updatePosition();
    if (!update) {
        stopTimer();
        if (hasWindowToRender())
            postRender();
        return;
    }
    if (m_timer->isStopped())
        m_timer->start();
    const uint32_t now = m_timer->getTime();
    if (now - m_lastUpdateTime > lagCap)
        m_lastUpdateTime = now - lagCap;
    if (now - m_lastUpdateTime < minimumStep) {
        if (render && hasWindowToRender())
            postRender();
        return;
    }
    postUpdates(now, largeStep);
    // An update may have closed the window (a quit button).
    if (hasWindowToRender())
        postRender();
}

// A large step of 0 would post empty updates for ever; it counts as 1.
void CEngine::postUpdates(uint32_t now, uint32_t largeStep) {
    if (largeStep == 0)
        largeStep = 1;
    if (now - m_lastUpdateTime <= largeStep) {
        CRefPointer<CEvent> event(new CEventSystemFlowUpdate(now - m_lastUpdateTime));
        postEvent(*event);
        m_lastUpdateTime = now;
        return;
    }
    do {
        CRefPointer<CEvent> event(new CEventSystemFlowUpdate(largeStep));
        postEvent(*event);
        m_lastUpdateTime += largeStep;
    } while (now - m_lastUpdateTime >= largeStep);
}

void CEngine::postRender() {
    CRefPointer<CEvent> event(new CEventSystemFlowRender());
    postEvent(*event);
}

void CEngine::stopTimer() {
    if (!m_timer->isStopped())
        m_timer->stop();
}

bool CEngine::postEvent(CEvent& event) {
    return OnEvent(event) || sendToChildren(RouteSelfThenChildren, event);
}

bool CEngine::isReceiverListed(const CEventReceiver* receiver) const {
    for (const ReceiverEntry& entry : m_receivers) {
        if (entry.receiver == receiver)
            return true;
    }
    return false;
}

// In floating point throughout: contrast 2 makes the scale infinite and larger contrasts make
// it negative, and neither may reach an integer conversion.
void CEngine::buildGammaRamp(uint16_t (&ramp)[kGammaRampSize], float gamma, float brightness,
                             float contrast) {
    const double offset = std::trunc(double(brightness) * 16383.75);
    const double range = 255.0 - double(contrast) * 127.5;
    const double scale = range != 0.0 ? 1.0 / range : HUGE_VAL;
    const double exponent = gamma > 0.0f ? 1.0 / double(gamma) : 0.0;
    for (uint32_t i = 0; i < kGammaRampSize; ++i) {
        double level = std::pow(double(i) * scale, exponent) * 65535.0 + 0.5;
        if (std::isnan(level))
            level = 0.0;
        ramp[i] = toRampEntry(std::trunc(level) + offset);
    }
}

void CEngine::estimateGamma(float& gamma, const uint16_t (&ramp)[kGammaRampSize]) {
    gamma = 1.0f;
    double sum = 0.0;
    uint32_t count = 0;
    for (uint32_t i = 1; i < kGammaRampSize; ++i) {
        if (ramp[i] == 0 || ramp[i] == 65535)
            continue;
        sum += std::log(ramp[i] / 65535.0) / std::log(i / 256.0);
        ++count;
    }
    if (count != 0 && sum != 0.0)
        gamma = float(1.0 / (sum / count));
}
