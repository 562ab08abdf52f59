#include "engine/video/d3d/host/GLContext9.h"

namespace {

CGLContext9* s_current = nullptr;

} // namespace

CGLContext9::~CGLContext9() {
    // A context is not deleted while current; another device's stays current.
    if (s_current == this) {
        m_facet.makeCurrent(m_window, kNoHostGLContext);
        s_current = nullptr;
    }
    m_facet.deleteContext(m_context);
}

bool CGLContext9::makeCurrent() {
    if (!m_facet.makeCurrent(m_window, m_context))
        return false;
    s_current = this;
    return true;
}

CGLContext9* CGLContext9::current() {
    return s_current;
}

CGLContextScope::~CGLContextScope() {
    if (m_previous && m_previous != CGLContext9::current())
        m_previous->makeCurrent();
}
