#pragma once

#include "engine/core/Matrix4.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"

// A node's matrix relative to its parent: scaled first, then rotated (degrees about x, y and z),
// then moved to the position; the pivot point of the node's own area lands on the position.
CMatrix4 makeRelativeNodeMatrix(const CVector3d& position, const CVector3d& rotation,
                                const CVector3d& scale, const CVector2d& pivot);

// The relative matrix followed by the parent's absolute one, in 2D: only the elements of x, y
// and the translation are written (the others keep their values), and depths add up without
// being scaled or rotated.
void composeNodeMatrix(const CMatrix4& parent, const CMatrix4& relative, CMatrix4& absolute);
