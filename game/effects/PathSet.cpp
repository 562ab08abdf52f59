#include "game/effects/PathSet.h"

#include "engine/core/Logger.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"

bool GPathSet::load(CXmlTextReader& reader) {
    m_paths.clear();
    while (reader.readNext()) {
        if (isElement(reader, u"Path")) {
            CRefPointer<GPath> path(new GPath());
            path->load(reader);
            m_paths.append(path);
        } else if (isEndElement(reader, u"Paths")) {
            return true;
        }
    }
    return false;
}

void GPathSet::loadFile(IVirtualFileSystem& files, const CStringW& name) {
    const CRefPointer<CXmlTextReader> reader = files.openXmlReader(name);
    if (!reader)
        return;
    // Said below in the set's own words, also for a whole document without its "Paths" end.
    reader->setDamageReported(false);
    if (!load(*reader))
        CLogger::instance()->log(CStringW(u"Paths file ends early: ") + name,
                                 CLogger::LevelWarning);
}
