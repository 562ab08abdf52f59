#include "engine/platform/VideoModeList.h"

namespace {

bool comesBefore(const CVideoMode& a, const CVideoMode& b) {
    if (a.width != b.width)
        return a.width < b.width;
    if (a.height != b.height)
        return a.height < b.height;
    return a.bits < b.bits;
}

} // namespace

void CVideoModeList::addMode(const CVideoMode& mode) {
    uint32_t index = 0;
    while (index < m_modes.size() && comesBefore(m_modes[index], mode))
        ++index;
    if (index < m_modes.size() && m_modes[index] == mode)
        return;
    m_modes.insert(mode, index);
}
