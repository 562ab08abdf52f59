#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/ICursorControl.h"
#include "engine/platform/host/IHostWindowSystem.h"

// The cursor of the device's window: the pointer's visibility, its position in client pixels
// and its shape. Positions are measured from the window's outer corner past the frame, so they
// stay right while the frame changes with the full-screen flag.
class CMouseCursorWin32 : public ICursorControl {
public:
    // The window system must outlive the cursor.
    CMouseCursorWin32(IHostWindowSystem& host, HostWindow window);

    void setVisible(bool visible) override;
    bool isVisible() const override { return m_visible; }
    void setPosition(const Point& point) override;
    Point getPosition() const override { return m_position; }
    int32_t updatePosition() override;
    const CArray<Point>& getPointList() const override { return m_points; }
    void setCursorImage(CSoftwareImage* image, int32_t hotSpotX, int32_t hotSpotY) override;
    void setPointList(const CArray<Point>& points) override { m_points = points; }

    // Called whenever the device's full-screen flag changes: the frame is gone in full screen.
    void setFullScreen(bool fullScreen);

protected:
    ~CMouseCursorWin32() override;

private:
    // Shows the cursor on the window; an image cursor stays alive while the window shows it.
    void showCursorImage(HostCursor cursor);

    IHostWindowSystem& m_host;
    HostWindow m_window;
    Point m_position;
    CArray<Point> m_points;
    bool m_visible = true;
    bool m_fullScreen = true;
    int32_t m_borderX = 0;
    int32_t m_borderY = 0;
    HostCursor m_imageCursor = kSystemArrowCursor;
};
