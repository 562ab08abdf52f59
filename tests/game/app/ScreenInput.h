#pragma once

#include <cstdint>

#include "engine/core/Matrix4.h"
#include "engine/core/Vector3d.h"
#include "engine/platform/host/HostMessages.h"
#include "engine/scene/BaseNode.h"
#include "tests/game/app/GameHarness.h"

// The player's mouse on the game's window: points of the logical screen or of a node are
// placed in the window as the scene manager's fit places them, and the messages go through the
// window layer.
namespace screen_input {

// The middle of the node's bounds in window pixels; its transform must be up to date, as it is
// after the node has been drawn once.
inline CVector3d centreOf(const BaseNode& node) {
    CVector3d point(node.getBounds().x / 2, node.getBounds().y / 2, 0);
    node.getAbsoluteMatrix().transformPoint(point);
    return point;
}

inline void post(GameHarness& game, uint32_t message, const CVector3d& at) {
    HostMessage posted;
    posted.window = game.window();
    posted.message = message;
    posted.x = int32_t(at.x);
    posted.y = int32_t(at.y);
    game.host.postMessage(posted);
    game.runMessages();
}

inline void moveTo(GameHarness& game, const CVector3d& at) {
    post(game, WM_MOUSEMOVE, at);
}

// Moves there, presses and releases the left button.
inline void click(GameHarness& game, const CVector3d& at) {
    moveTo(game, at);
    post(game, WM_LBUTTONDOWN, at);
    post(game, WM_LBUTTONUP, at);
}

inline void clickNode(GameHarness& game, const BaseNode& node) {
    click(game, centreOf(node));
}

} // namespace screen_input
