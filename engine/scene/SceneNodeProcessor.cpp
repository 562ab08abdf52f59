#include "engine/scene/SceneNodeProcessor.h"

#include "engine/core/Logger.h"
#include "engine/io/ContentManager.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeFactory.h"

CSceneNodeProcessor::CSceneNodeProcessor(CRefPointer<CNodeFactory> factory)
    : m_factory(std::move(factory)) {}

CSceneNodeProcessor::~CSceneNodeProcessor() = default;

uint32_t CSceneNodeProcessor::getContentType() const {
    return contentType("snod");
}

CRefPointer<CContent> CSceneNodeProcessor::load(CContentManager& manager, IInputFile* file,
                                                const CContentKey& key) {
    if (!m_factory || file == nullptr)
        return nullptr;
    for (int32_t loading : m_loading) {
        if (loading == key.getNameId()) {
            CLogger::instance()->log(CStringW(u"Scene file includes itself: ") + key.getName(),
                                     CLogger::LevelWarning);
            return nullptr;
        }
    }
    if (m_loading.size() >= kMaxIncludeDepth) {
        CLogger::instance()->log(CStringW(u"Scene files include each other too deeply: ") +
                                     key.getName(),
                                 CLogger::LevelWarning);
        return nullptr;
    }
    const CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file));
    CRefPointer<BaseNode> root;
    while (reader->readNext()) {
        if (reader->nodeKind() != CXmlTextReader::kElement || !(reader->nodeName() == u"SceneNode"))
            continue;
        root = BaseNode::createFromXml(*reader, *m_factory, key);
        if (root) {
            m_loading.append(key.getNameId());
            manager.pushDirectory(key.getName());
            root->loadFromXml(*reader, *m_factory);
            manager.popDirectory();
            m_loading.truncate(m_loading.size() - 1);
        }
        break;
    }
    return root;
}

bool CSceneNodeProcessor::canSave(const CStringW&) const {
    return true;
}

bool CSceneNodeProcessor::save(CContentManager& manager, CContent* object, IOutputFile* file,
                               int32_t) {
    if (object == nullptr || file == nullptr || object->getContentType() != getContentType())
        return false;
    const CRefPointer<CXmlTextWriter> writer(
        new CXmlTextWriter(CRefPointer<IOutputFile>::share(file)));
    writer->writeHeader();
    manager.pushDirectory(file->getName());
    static_cast<BaseNode*>(object)->saveToXml(*writer);
    manager.popDirectory();
    return true;
}
