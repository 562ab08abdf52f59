#include "game/effects/ClientMoneyEffectNode.h"

namespace {

// Where the money display is, in scene coordinates.
const CVector2d kMoneyDisplay(370, 30);

} // namespace

bool GClientMoneyEffectNode::OnStart() {
    CVector2d end;
    const BaseNode* parent = getParent();
    if (parent != nullptr && parent->getParent() != nullptr) {
        const CVector3d& holder = parent->getParent()->getPosition();
        end = CVector2d(kMoneyDisplay.x - holder.x, kMoneyDisplay.y - holder.y);
    }
    const float startLength = engineRandom().nextUnitFloat() * 200 + 300;
    const float endLength = engineRandom().nextUnitFloat() * 200 + 300;
    const float way = end.x > 0 ? 1.0f : -1.0f;
    CArray<SplinePoint> points;
    points.append(SplinePoint{0, 0, way * startLength, 0, nullptr});
    points.append(SplinePoint{end.x, end.y, way * endLength, 0, nullptr});
    placeOnPath(points);
    setDuration(kFlightMs);
    setAlignByTangent(true);
    return true;
}
