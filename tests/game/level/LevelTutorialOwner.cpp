#include "tests/game/level/LevelTutorialOwner.h"

#include "engine/io/ContentManager.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/XmlTextReader.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/screens/TutorialScript.h"
#include "tests/game/level/LevelHarness.h"

namespace {

// The screens' templates, as the intro gives them to the first scene manager.
TemplateCollectionNode* screenTemplates(LevelHarness& harness) {
    SceneManager* screens = harness.game.application().getSceneManager();
    if (screens->getTemplateCollection() == nullptr) {
        const CRefPointer<CContent> loaded =
            harness.content().load(contentType("snod"), u"scenes/TemplateCollection.qscn", true);
        auto* node = static_cast<BaseNode*>(loaded.get());
        if (node != nullptr && node->isKindOf(TemplateCollectionNode::kTypeId))
            screens->setTemplateCollection(static_cast<TemplateCollectionNode*>(node));
    }
    return screens->getTemplateCollection();
}

} // namespace

bool LevelTutorialOwner::start(CXmlTextReader& reader) {
    finish();
    BaseNode* scene = m_harness.screen().findChild(nameOf("Scene"), 1);
    m_controller = CRefPointer<GTutorialController>(
        new GTutorialController(scene, screenTemplates(m_harness), &m_harness.content()));
    if (m_controller->getScript() == nullptr) {
        m_controller = nullptr;
        return false;
    }
    GGameLevelScene& level = m_harness.level();
    m_controller->loadScript(reader, &level);
    m_controller->attachTo(m_harness.screen());
    m_controller->attachTo(level);
    level.setTutorialQueueMode(true);
    level.setTutorial(m_controller->getScript());
    m_controller->start();
    shownHints.assign(1, m_controller->getCurrentHint());
    return true;
}

bool LevelTutorialOwner::startText(const std::string& script) {
    std::string text = script;
    const CRefPointer<CMemoryBlockFile> file(new CMemoryBlockFile(
        reinterpret_cast<uint8_t*>(text.data()), int32_t(text.size()), u"Test.xml", false));
    const CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file.get()));
    return start(*reader);
}

bool LevelTutorialOwner::startFile(const char16_t* name) {
    const CRefPointer<CXmlTextReader> reader =
        m_harness.game.engine().getFileSystem()->openXmlReader(name);
    return reader && start(*reader);
}

void LevelTutorialOwner::step(uint32_t elapsedMs) {
    if (!m_controller)
        return;
    if (!m_controller->OnUpdate(elapsedMs)) {
        finish();
        return;
    }
    const int32_t hint = m_controller->getCurrentHint();
    if (hint != shownHints.back() && uint32_t(hint) < m_controller->getScript()->getHintCount())
        shownHints.push_back(hint);
}

void LevelTutorialOwner::finish() {
    if (!m_controller)
        return;
    m_controller->detach();
    m_harness.level().setTutorialQueueMode(false);
    m_harness.level().setTutorial(nullptr);
    m_controller = nullptr;
}

GTutorialAction* LevelTutorialOwner::firstAction(uint32_t index) const {
    return m_controller->getScript()->getHints()[0]->actions[index].get();
}
