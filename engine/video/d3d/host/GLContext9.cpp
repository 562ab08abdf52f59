#include "engine/video/d3d/host/GLContext9.h"

CGLContext9::~CGLContext9() {
    m_facet.makeCurrent(m_window, kNoHostGLContext);
    m_facet.deleteContext(m_context);
}
