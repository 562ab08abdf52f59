// The Direct3D drivers' fog, ambient and dynamic lights and user clip planes.

#include <numbers>

#include "engine/video/d3d/D3DDriverBase.h"

namespace {

D3DCOLORVALUE colorValueOf(const CColorf& color) {
    return {color.r, color.g, color.b, color.a};
}

D3DVECTOR vectorOf(const CVector3d& vector) {
    return {vector.x, vector.y, vector.z};
}

D3DLIGHTTYPE lightTypeOf(int32_t kind) {
    switch (kind) {
    case LIGHT_SPOT:
        return D3DLIGHT_SPOT;
    case LIGHT_DIRECTIONAL:
        return D3DLIGHT_DIRECTIONAL;
    default:
        return D3DLIGHT_POINT;
    }
}

// The full cone angle in radians of a half-angle in degrees.
float coneAngleOf(float halfAngleDegrees) {
    return halfAngleDegrees * 2.0f * std::numbers::pi_v<float> / 180.0f;
}

// The plane moved by the matrix: a point of it as a point, its normal by the inverse transpose.
CClipPlane transformPlane(const CClipPlane& plane, const CMatrix4& matrix) {
    const CVector3d normal(plane.a, plane.b, plane.c);
    const float lengthSquared = normal.x * normal.x + normal.y * normal.y + normal.z * normal.z;
    // The plane's point nearest the origin; the normal need not be of unit length.
    const float scale = lengthSquared > 0.0f ? -plane.d / lengthSquared : 0.0f;
    CVector3d point(normal.x * scale, normal.y * scale, normal.z * scale);
    matrix.transformPoint(point);
    CMatrix4 inverse;
    if (!matrix.getInverse(inverse)) {
        for (int i = 0; i < 16; ++i)
            inverse.set(i, 0.0f);
    }
    const CMatrix4 normalMatrix = inverse.transposed();
    CVector3d moved;
    moved.x = normal.x * normalMatrix.at(0, 0) + normal.y * normalMatrix.at(1, 0) +
              normal.z * normalMatrix.at(2, 0);
    moved.y = normal.x * normalMatrix.at(0, 1) + normal.y * normalMatrix.at(1, 1) +
              normal.z * normalMatrix.at(2, 1);
    moved.z = normal.x * normalMatrix.at(0, 2) + normal.y * normalMatrix.at(1, 2) +
              normal.z * normalMatrix.at(2, 2);
    const float d = -(moved.x * point.x + moved.y * point.y + moved.z * point.z);
    return {moved.x, moved.y, moved.z, d};
}

} // namespace

void CD3DDriverBase::setFogParameters(CColor color, bool linearFog, float start, float end,
                                      float density, bool perPixelFog, bool rangeFog) {
    CNullRenderDriver::setFogParameters(color, linearFog, start, end, density, perPixelFog,
                                        rangeFog);
    if (!m_common)
        return;
    m_common->SetRenderState(D3DRS_FOGCOLOR, color.value);
    m_common->SetRenderState(perPixelFog ? D3DRS_FOGTABLEMODE : D3DRS_FOGVERTEXMODE,
                             linearFog ? D3DFOG_LINEAR : D3DFOG_EXP);
    if (linearFog) {
        m_common->SetRenderState(D3DRS_FOGSTART, floatBits(start));
        m_common->SetRenderState(D3DRS_FOGEND, floatBits(end));
    } else {
        m_common->SetRenderState(D3DRS_FOGDENSITY, floatBits(density));
    }
    if (!perPixelFog)
        m_common->SetRenderState(D3DRS_RANGEFOGENABLE, rangeFog);
}

void CD3DDriverBase::setAmbientLight(const CColorf& color) {
    if (!m_common)
        return;
    m_ambientLight = color;
    m_common->SetRenderState(D3DRS_AMBIENT, color.toColor().value);
}

int32_t CD3DDriverBase::addLight(const CLight& light) {
    CNullRenderDriver::addLight(light);
    D3DLIGHT9 d3dLight;
    d3dLight.Type = lightTypeOf(light.kind);
    d3dLight.Diffuse = colorValueOf(light.diffuse);
    d3dLight.Specular = colorValueOf(light.specular);
    d3dLight.Ambient = colorValueOf(light.ambient);
    d3dLight.Position = vectorOf(light.position);
    d3dLight.Direction = vectorOf(light.direction);
    d3dLight.Range = light.radius < m_maxLightDistance ? light.radius : m_maxLightDistance;
    d3dLight.Falloff = light.falloff;
    d3dLight.Attenuation0 = light.constantAttenuation;
    d3dLight.Attenuation1 = light.linearAttenuation;
    d3dLight.Attenuation2 = light.quadraticAttenuation;
    d3dLight.Theta = coneAngleOf(light.innerCone);
    d3dLight.Phi = coneAngleOf(light.outerCone);
    ++m_lastLightIndex;
    if (FAILED(m_common->SetLight(uint32_t(m_lastLightIndex), &d3dLight)))
        return -1;
    m_common->LightEnable(uint32_t(m_lastLightIndex), true);
    return m_lastLightIndex;
}

void CD3DDriverBase::removeAllLights() {
    for (int32_t i = 0; i <= m_lastLightIndex; ++i)
        m_common->LightEnable(uint32_t(i), false);
    m_lastLightIndex = -1;
    CNullRenderDriver::removeAllLights();
}

void CD3DDriverBase::setLightEnabled(uint32_t index, bool on) {
    if (int64_t(index) <= m_lastLightIndex)
        m_common->LightEnable(index, on);
}

bool CD3DDriverBase::setClipPlane(uint32_t index, const CClipPlane& plane, bool enable) {
    if (index >= m_caps.MaxUserClipPlanes)
        return false;
    if (enable) {
        const CClipPlane moved = transformPlane(plane, m_transforms[TRANSFORM_WORLD]);
        const float coefficients[4] = {moved.a, moved.b, moved.c, moved.d};
        m_common->SetClipPlane(index, coefficients);
    }
    enableClipPlane(index, enable);
    return true;
}

void CD3DDriverBase::enableClipPlane(uint32_t index, bool on) {
    if (index >= m_caps.MaxUserClipPlanes)
        return;
    uint32_t mask = 0;
    m_common->GetRenderState(D3DRS_CLIPPLANEENABLE, &mask);
    if (on)
        mask |= 1u << index;
    else
        mask &= ~(1u << index);
    m_common->SetRenderState(D3DRS_CLIPPLANEENABLE, mask);
}
