#pragma once

#include "engine/core/Properties.h"
#include "engine/core/String.h"

class CProfileManager;
class CXmlTextReader;
class CXmlTextWriter;

// One set of the profile manager: a player's settings and progress under the player's name,
// or one of the shared and default sets. Changing a value saves nothing; the caller reports
// the change with notifyChanged.
class CProfileParameters : public CProperties {
public:
    explicit CProfileParameters(CProfileManager* manager) : m_manager(manager) {}

    const CStringW& getName() const { return m_name; }
    void setName(const CStringW& name) { m_name = name; }

    // Has the manager rewrite the file that holds this set; true when it was written. False once
    // the manager has let go of the set (it removed the set, or it is gone).
    bool notifyChanged();
    // Called by the manager as it lets go of the set.
    void detachFromManager() { m_manager = nullptr; }
    // Appends copies of the other set's values whose names this set lacks, in their order, so
    // that changing a value here changes neither the other set nor any other copy. A name
    // without a value (of a type no one knows, read from a damaged file) takes the copy too.
    void addMissingFrom(const CProperties& other);
    // The values inside the element the reader stands on, up to the end of "Parameters".
    bool readParameters(CXmlTextReader* reader);
    // A "Parameters" element with every value, each on its own line.
    bool writeParameters(CXmlTextWriter* writer) const;

protected:
    ~CProfileParameters() override = default;

private:
    CStringW m_name;
    CProfileManager* m_manager;
};
