#include "engine/platform/MouseCursorWin32.h"

#include "engine/video/ColorFormat.h"
#include "engine/video/SoftwareImage.h"

CMouseCursorWin32::CMouseCursorWin32(IHostWindowSystem& host, HostWindow window)
    : m_host(host), m_window(window) {}

CMouseCursorWin32::~CMouseCursorWin32() {
    if (m_imageCursor != kSystemArrowCursor)
        showCursorImage(kSystemArrowCursor);
}

void CMouseCursorWin32::setFullScreen(bool fullScreen) {
    m_fullScreen = fullScreen;
    HostRect frame;
    if (!fullScreen)
        m_host.adjustWindowRect(frame, false);
    m_borderX = -frame.left;
    m_borderY = -frame.top;
}

int32_t CMouseCursorWin32::updatePosition() {
    HostPoint pointer;
    HostRect window;
    if (!m_host.getCursorPosition(pointer) || !m_host.getWindowRect(m_window, window)) {
        m_position = {-1, -1};
        return -1;
    }
    m_position = {pointer.x - m_borderX - window.left, pointer.y - m_borderY - window.top};
    return m_position.x;
}

void CMouseCursorWin32::setPosition(const Point& point) {
    HostRect window;
    if (m_host.getWindowRect(m_window, window))
        m_host.setCursorPosition(
            {window.left + m_borderX + point.x, window.top + m_borderY + point.y});
    m_position = point;
}

void CMouseCursorWin32::setVisible(bool visible) {
    if (visible == m_visible)
        return;
    m_visible = visible;
    m_host.showCursor(visible);
    updatePosition();
    setPosition(m_position);
}

void CMouseCursorWin32::setCursorImage(CSoftwareImage* image, int32_t hotSpotX, int32_t hotSpotY) {
    if (image != nullptr && image->getData() != nullptr && image->getWidth() > 0 &&
        image->getHeight() > 0) {
        const uint32_t count = uint32_t(image->getWidth()) * uint32_t(image->getHeight());
        CArray<uint32_t> pixels;
        pixels.reallocate(count);
        for (uint32_t i = 0; i < count; ++i)
            pixels.append(0u);
        image->copyToBuffer(pixels.data(), image->getWidth(), image->getHeight(),
                            COLOR_FORMAT_A8R8G8B8, 0);
        const HostCursor cursor = m_host.createCursor(pixels.data(), image->getWidth(),
                                                      image->getHeight(), hotSpotX, hotSpotY);
        if (cursor != kSystemArrowCursor)
            showCursorImage(cursor);
    } else {
        showCursorImage(kSystemArrowCursor);
    }
    // A nudge of the pointer makes the new shape show before the player moves it.
    updatePosition();
    HostRect window;
    if (m_host.getWindowRect(m_window, window)) {
        const Point where = m_position;
        setPosition({where.x + 1, where.y + 1});
        setPosition(where);
    }
}

// The window takes the new shape before the old one goes, so it never shows a destroyed one.
void CMouseCursorWin32::showCursorImage(HostCursor cursor) {
    m_host.setWindowCursor(m_window, cursor);
    if (m_imageCursor != kSystemArrowCursor && m_imageCursor != cursor)
        m_host.destroyCursor(m_imageCursor);
    m_imageCursor = cursor;
}
