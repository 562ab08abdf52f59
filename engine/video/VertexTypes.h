#pragma once

#include <cstdint>

#include "engine/core/Color.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"

// The vertex layouts that drawing operations take, by vertex type. Drivers hand the arrays to the
// graphics interface as they are, so the sizes never change.
enum EVertexType : uint32_t {
    VERTEX_TYPE_STANDARD = 0,
    VERTEX_TYPE_NORMAL = 1,
    VERTEX_TYPE_TWO_COORDS = 2,
    VERTEX_TYPE_TANGENTS = 3,
};

enum EPrimitiveType : uint32_t {
    PRIMITIVE_POINTS = 0,
    PRIMITIVE_LINE_STRIP = 1,
    PRIMITIVE_LINE_LOOP = 2,
    PRIMITIVE_LINES = 3,
    PRIMITIVE_TRIANGLE_STRIP = 4,
    PRIMITIVE_TRIANGLE_FAN = 5,
    PRIMITIVE_TRIANGLES = 6,
    PRIMITIVE_QUAD_STRIP = 7,
    PRIMITIVE_QUADS = 8,
    PRIMITIVE_POLYGON = 9,
    PRIMITIVE_POINT_SPRITES = 10,
};

enum EIndexType : uint32_t {
    INDEX_TYPE_16_BIT = 0,
    INDEX_TYPE_32_BIT = 1,
};

// Vertex type 0: what the 2D batch, sprites, text and particles draw.
struct CVertex {
    CVector3d position;
    CColor color;
    CVector2d texCoord;
};

// Vertex type 1.
struct CVertexNormal {
    CVector3d position;
    CVector3d normal;
    CColor color;
    CVector2d texCoord;
};

// Vertex type 2.
struct CVertexTwoCoords {
    CVector3d position;
    CVector3d normal;
    CColor color;
    CVector2d texCoord;
    CVector2d texCoord2;
};

// Vertex type 3.
struct CVertexTangents {
    CVector3d position;
    CVector3d normal;
    CColor color;
    CVector2d texCoord;
    CVector3d tangent;
    CVector3d binormal;
};

static_assert(sizeof(CVertex) == 24);
static_assert(sizeof(CVertexNormal) == 36);
static_assert(sizeof(CVertexTwoCoords) == 44);
static_assert(sizeof(CVertexTangents) == 60);

// The size of one vertex of the type; unknown types are standard vertices.
constexpr uint32_t vertexStrideOf(uint32_t vertexType) {
    switch (vertexType) {
    case VERTEX_TYPE_NORMAL:
        return sizeof(CVertexNormal);
    case VERTEX_TYPE_TWO_COORDS:
        return sizeof(CVertexTwoCoords);
    case VERTEX_TYPE_TANGENTS:
        return sizeof(CVertexTangents);
    default:
        return sizeof(CVertex);
    }
}
