#include "engine/core/Event.h"

const CStringW& CEvent::getTypeName() const {
    static const CStringW name(u"#thisClassName");
    return name;
}
