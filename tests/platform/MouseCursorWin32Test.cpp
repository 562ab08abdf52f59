#include "engine/platform/MouseCursorWin32.h"

#include <gtest/gtest.h>

#include "engine/core/ContentKey.h"
#include "engine/video/SoftwareImage.h"
#include "support/FakeHostWindowSystem.h"

namespace {

class MouseCursorWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        HostWindowDesc desc;
        desc.x = 100;
        desc.y = 50;
        desc.width = 320;
        desc.height = 240;
        window = host.createWindow(desc);
        cursor = CRefPointer<CMouseCursorWin32>(new CMouseCursorWin32(host, window));
        host.clearCalls();
    }

    FakeHostWindowSystem host;
    HostWindow window = kNoHostWindow;
    CRefPointer<CMouseCursorWin32> cursor;
};

TEST_F(MouseCursorWin32Test, ShowingAndHidingKeepTheSystemCountBalanced) {
    cursor->setVisible(true);
    EXPECT_EQ(host.countCalls("showCursor 1"), 0u) << "already visible";
    cursor->setVisible(false);
    cursor->setVisible(false);
    EXPECT_EQ(host.cursorDisplayCount(), -1);
    EXPECT_FALSE(cursor->isVisible());
    cursor->setVisible(true);
    EXPECT_EQ(host.cursorDisplayCount(), 0);
    EXPECT_EQ(host.countCalls("showCursor 0") + host.countCalls("showCursor 1"), 2u);
}

TEST_F(MouseCursorWin32Test, PositionIsRelativeToTheClientArea) {
    struct Case {
        bool fullScreen;
        HostPoint pointer;
        ICursorControl::Point expected;
    };
    // The window's outer corner is at (100, 50); windowed, the client area starts 3 pixels
    // right and 22 down.
    const Case cases[] = {
        {false, {103, 72}, {0, 0}},
        {false, {90, 60}, {-13, -12}},
        {true, {100, 50}, {0, 0}},
    };
    for (const Case& c : cases) {
        cursor->setFullScreen(c.fullScreen);
        host.cursorPosition = c.pointer;
        EXPECT_EQ(cursor->updatePosition(), c.expected.x);
        EXPECT_EQ(cursor->getPosition().y, c.expected.y);
    }
    cursor->setFullScreen(false);
    cursor->setPosition({10, 20});
    EXPECT_EQ(host.cursorPosition.x, 113);
    EXPECT_EQ(host.cursorPosition.y, 92);

    host.failures.windowRect = true;
    EXPECT_EQ(cursor->updatePosition(), -1);
    EXPECT_EQ(cursor->getPosition().y, -1);
}

TEST_F(MouseCursorWin32Test, ImageCursorKeepsItsHotSpotAndThePointerStays) {
    cursor->setFullScreen(false);
    host.cursorPosition = {150, 100};
    CRefPointer<CSoftwareImage> image =
        CSoftwareImage::create(CContentKey(), COLOR_FORMAT_A8R8G8B8, 2, 1);
    image->fill(CColor(0x80FF0000));
    cursor->setCursorImage(image.get(), 3, 2);

    const FakeHostWindowSystem::Window* record = host.window(window);
    const FakeHostWindowSystem::Cursor* shape = host.cursor(record->cursor);
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->width, 2);
    EXPECT_EQ(shape->hotSpot.x, 3);
    EXPECT_EQ(shape->hotSpot.y, 2);
    EXPECT_EQ(shape->pixels[1], 0x80FF0000u);
    EXPECT_GE(host.findCall("setCursorPosition 151,101"), 0);
    EXPECT_EQ(host.cursorPosition.x, 150);
    EXPECT_EQ(host.cursorPosition.y, 100);

    const HostCursor made = record->cursor;
    cursor->setCursorImage(nullptr, 0, 0);
    EXPECT_EQ(record->cursor, kSystemArrowCursor);
    EXPECT_EQ(host.cursor(made), nullptr) << "the replaced image cursor is destroyed";
}

TEST_F(MouseCursorWin32Test, FailedImageCursorKeepsThePreviousShape) {
    CRefPointer<CSoftwareImage> image =
        CSoftwareImage::create(CContentKey(), COLOR_FORMAT_A8R8G8B8, 4, 4);
    cursor->setCursorImage(image.get(), 0, 0);
    const HostCursor first = host.window(window)->cursor;
    host.failures.createCursor = true;
    cursor->setCursorImage(image.get(), 0, 0);
    EXPECT_EQ(host.window(window)->cursor, first);
    EXPECT_NE(host.cursor(first), nullptr);

    cursor.reset();
    EXPECT_EQ(host.window(window)->cursor, kSystemArrowCursor);
    EXPECT_EQ(host.cursor(first), nullptr) << "the cursor object takes its image along";
}

} // namespace
