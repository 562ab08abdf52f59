#pragma once

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "game/screens/TutorialHint.h"

class CXmlTextReader;
class ObjectConfigurations;

// A tutorial: its hints in file order, read from "levels/tutorials/<name>.xml". The controller
// that runs it holds it, and the level holds it too while the tutorial runs there.
class GTutorialScript : public CRefCounted {
public:
    GTutorialScript() = default;

    // Replaces the hints by those of the document the reader stands at the start of. The forced
    // items change only when the document names them. Client queues of the actions take their
    // wish lists from the configurations (none gives empty orders). A document that ends early
    // keeps what was read.
    void load(CXmlTextReader& reader, const ObjectConfigurations* configurations);

    // Read and kept; they change nothing in the game.
    const CArray<CNameId>& getForcedItemsForClients() const { return m_forcedItemsForClients; }
    const CArray<CRefPointer<GTutorialHint>>& getHints() const { return m_hints; }
    uint32_t getHintCount() const { return m_hints.size(); }

protected:
    ~GTutorialScript() override = default;

private:
    CArray<CNameId> m_forcedItemsForClients;
    CArray<CRefPointer<GTutorialHint>> m_hints;
};
