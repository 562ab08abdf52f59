#include "engine/core/Logger.h"
#include "engine/core/StringFunctions.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "game/app/ConfigValues.h"
#include "game/level/LocationNode.h"
#include "game/level/SavedLevelValues.h"
#include "game/level/StaffNode.h"

// A staff member or the hero in the saved level: its "Staff" element, written and read back
// into the member of that name in a level built afresh. Its tasks name their locations, which
// claim them when they are restored after it.

namespace {

constexpr int32_t kStateCount = GStaffNode::kStateWorking + 1;
constexpr int32_t kTaskKindCount = GStaffNode::kTaskRecharge + 1;

} // namespace

void GStaffNode::saveState(CXmlTextWriter& writer) {
    const CStringW name = savedNameText(getName());
    const CStringW type = savedNameText(m_config ? m_config->name : CNameId());
    writer.openElement(u"Staff", false, u"Name", name.c_str(), u"Type", type.c_str());
    writer.writeNewLine();
    writeSavedInt(writer, u"StaffState", m_state);
    writeSavedInt(writer, u"StaffStateTime", m_stateTime);
    if (const GLocationNode* location = getLocation())
        writeSavedName(writer, u"Location", location->getName());
    const bool noTasks = m_tasks.size() == 0;
    writer.openElement(u"LocationsQueue", noTasks);
    writer.writeNewLine();
    for (const StaffTask& task : m_tasks) {
        const GLocationNode* location = task.location.get();
        const CStringW at =
            savedNameText(location != nullptr ? location->getName() : task.locationName);
        const CStringW kind(task.kind);
        const CStringW target = savedNameText(task.target);
        writer.openElement(u"I", true, u"Location", at.c_str(), u"Order", kind.c_str(), u"Resource",
                           target.c_str());
        writer.writeNewLine();
    }
    if (!noTasks) {
        writer.closeElement(u"LocationsQueue");
        writer.writeNewLine();
    }
    writeSavedText(writer, u"CarriedResources", joinNameIds(m_carried));
    writer.closeElement(u"Staff");
    writer.writeNewLine();
}

void GStaffNode::loadState(CXmlTextReader& reader) {
    const CRefPointer<GStaffNode> self = CRefPointer<GStaffNode>::share(this);
    int32_t state = m_state;
    int32_t stateTime = m_stateTime;
    readElementsUntilEnd(reader, u"Staff", [&] {
        if (reader.nameIs(u"StaffState")) {
            const int32_t read = readIntValue(reader);
            if (isSavedIndexIn(read, kStateCount, u"staff state"))
                state = read;
        } else if (reader.nameIs(u"StaffStateTime")) {
            stateTime = readSavedCount(reader);
        } else if (reader.nameIs(u"LocationsQueue")) {
            loadTasks(reader);
        } else if (reader.nameIs(u"CarriedResources")) {
            loadCarried(readSavedNameList(reader, kValueAttribute));
        }
    });
    setStaffState(state);
    m_stateTime = stateTime;
    refreshCarriedIcons();
}

void GStaffNode::loadTasks(CXmlTextReader& reader) {
    m_tasks = CArray<StaffTask>();
    readElementsUntilEnd(reader, u"LocationsQueue", [&] {
        if (!reader.nameIs(u"I"))
            return;
        const int32_t kind = reader.getAttributeInt(u"Order", 0);
        if (isSavedIndexIn(kind, kTaskKindCount, u"task kind"))
            m_tasks.append(StaffTask{nullptr, readNameAttribute(reader, u"Location"),
                                     readNameAttribute(reader, u"Resource"), kind});
    });
}

// The member keeps its hands: names beyond them are dropped, hands without one are empty.
void GStaffNode::loadCarried(const CArray<CNameId>& names) {
    for (uint32_t i = 0; i < m_carried.size(); ++i)
        m_carried[i] = i < names.size() ? names[i] : CNameId();
}

void GStaffNode::claimTasksAt(GLocationNode& location) {
    for (StaffTask& task : m_tasks) {
        if (!task.location && task.locationName == location.getName())
            task.location = &location;
    }
}

void GStaffNode::resumeAfterRestore() {
    for (uint32_t i = m_tasks.size(); i-- > 0;) {
        if (!m_tasks[i].location)
            m_tasks.eraseAt(i);
    }
    if (m_state != kStateWalking)
        return;
    if (m_tasks.size() == 0)
        setStaffState(kStateIdle);
    else
        startNextTask();
}
