#include "platform/d3d8/CGLState.h"

#include <epoxy/gl.h>

namespace {
constexpr unsigned kCapList[] = {
    GL_BLEND,        GL_DEPTH_TEST,          GL_CULL_FACE,           GL_STENCIL_TEST,
    GL_SCISSOR_TEST, GL_POLYGON_OFFSET_FILL, GL_POLYGON_OFFSET_LINE, GL_POLYGON_OFFSET_POINT};
}

void CGLState::Invalidate() {
    for (unsigned& cap : m_caps)
        cap = kUnknown;
    m_blendSrc = m_blendDst = m_blendEquation = kUnknown;
    m_depthFunc = m_depthMask = kUnknown;
    m_depthNear = m_depthFar = -1.0f;
    m_colorMask = kUnknown;
    m_stencilFunc = m_stencilMask = m_stencilWriteMask = kUnknown;
    m_stencilRef = -1;
    m_stencilFail = m_stencilZFail = m_stencilPass = kUnknown;
    m_cullFace = m_frontFace = m_polygonMode = kUnknown;
    m_offsetFactor = m_offsetUnits = -1e30f;
    for (int& v : m_viewport)
        v = -1;
    for (int& v : m_scissor)
        v = -1;
    m_pointSpriteOrigin = kUnknown;
    m_framebuffer = m_program = m_vao = m_arrayBuffer = m_elementBuffer = kUnknown;
    m_activeUnit = kUnknown;
    for (int unit = 0; unit < kUnits; ++unit)
        m_textures[unit] = m_textureTargets[unit] = m_samplers[unit] = kUnknown;
}

int CGLState::CapIndex(unsigned cap) const {
    for (int i = 0; i < kCaps; ++i)
        if (kCapList[i] == cap)
            return i;
    return -1;
}

void CGLState::Enable(unsigned cap, bool on) {
    const int index = CapIndex(cap);
    if (index >= 0 && m_caps[index] == static_cast<unsigned>(on))
        return;
    if (on)
        glEnable(cap);
    else
        glDisable(cap);
    if (index >= 0)
        m_caps[index] = on;
}

void CGLState::BlendFunc(unsigned src, unsigned dst) {
    if (m_blendSrc == src && m_blendDst == dst)
        return;
    glBlendFunc(src, dst);
    m_blendSrc = src;
    m_blendDst = dst;
}

void CGLState::BlendEquation(unsigned mode) {
    if (m_blendEquation == mode)
        return;
    glBlendEquation(mode);
    m_blendEquation = mode;
}

void CGLState::DepthFunc(unsigned func) {
    if (m_depthFunc == func)
        return;
    glDepthFunc(func);
    m_depthFunc = func;
}

void CGLState::DepthMask(bool write) {
    if (m_depthMask == static_cast<unsigned>(write))
        return;
    glDepthMask(write ? GL_TRUE : GL_FALSE);
    m_depthMask = write;
}

void CGLState::DepthRange(float nearValue, float farValue) {
    if (m_depthNear == nearValue && m_depthFar == farValue)
        return;
    glDepthRange(nearValue, farValue);
    m_depthNear = nearValue;
    m_depthFar = farValue;
}

void CGLState::ColorMask(unsigned mask) {
    if (m_colorMask == mask)
        return;
    glColorMask((mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0);
    m_colorMask = mask;
}

void CGLState::StencilFunc(unsigned func, int ref, unsigned mask) {
    if (m_stencilFunc == func && m_stencilRef == ref && m_stencilMask == mask)
        return;
    glStencilFunc(func, ref, mask);
    m_stencilFunc = func;
    m_stencilRef = ref;
    m_stencilMask = mask;
}

void CGLState::StencilOp(unsigned fail, unsigned zfail, unsigned pass) {
    if (m_stencilFail == fail && m_stencilZFail == zfail && m_stencilPass == pass)
        return;
    glStencilOp(fail, zfail, pass);
    m_stencilFail = fail;
    m_stencilZFail = zfail;
    m_stencilPass = pass;
}

void CGLState::StencilMask(unsigned mask) {
    if (m_stencilWriteMask == mask)
        return;
    glStencilMask(mask);
    m_stencilWriteMask = mask;
}

void CGLState::CullFace(unsigned face) {
    if (m_cullFace == face)
        return;
    glCullFace(face);
    m_cullFace = face;
}

void CGLState::FrontFace(unsigned mode) {
    if (m_frontFace == mode)
        return;
    glFrontFace(mode);
    m_frontFace = mode;
}

void CGLState::PolygonMode(unsigned mode) {
    if (m_polygonMode == mode)
        return;
    glPolygonMode(GL_FRONT_AND_BACK, mode);
    m_polygonMode = mode;
}

void CGLState::PolygonOffset(float factor, float units) {
    if (m_offsetFactor == factor && m_offsetUnits == units)
        return;
    glPolygonOffset(factor, units);
    m_offsetFactor = factor;
    m_offsetUnits = units;
}

void CGLState::Viewport(int x, int y, int width, int height) {
    if (m_viewport[0] == x && m_viewport[1] == y && m_viewport[2] == width && m_viewport[3] == height)
        return;
    glViewport(x, y, width, height);
    m_viewport[0] = x;
    m_viewport[1] = y;
    m_viewport[2] = width;
    m_viewport[3] = height;
}

void CGLState::Scissor(int x, int y, int width, int height) {
    if (m_scissor[0] == x && m_scissor[1] == y && m_scissor[2] == width && m_scissor[3] == height)
        return;
    glScissor(x, y, width, height);
    m_scissor[0] = x;
    m_scissor[1] = y;
    m_scissor[2] = width;
    m_scissor[3] = height;
}

void CGLState::PointSpriteOrigin(unsigned origin) {
    if (m_pointSpriteOrigin == origin)
        return;
    glPointParameteri(GL_POINT_SPRITE_COORD_ORIGIN, static_cast<GLint>(origin));
    m_pointSpriteOrigin = origin;
}

void CGLState::BindFramebuffer(unsigned framebuffer) {
    if (m_framebuffer == framebuffer)
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    m_framebuffer = framebuffer;
}

void CGLState::UseProgram(unsigned program) {
    if (m_program == program)
        return;
    glUseProgram(program);
    m_program = program;
}

void CGLState::BindVertexArray(unsigned vao) {
    if (m_vao == vao)
        return;
    glBindVertexArray(vao);
    m_vao = vao;
    m_elementBuffer = kUnknown;
}

void CGLState::BindArrayBuffer(unsigned buffer) {
    if (m_arrayBuffer == buffer)
        return;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    m_arrayBuffer = buffer;
}

void CGLState::BindElementBuffer(unsigned buffer) {
    if (m_elementBuffer == buffer)
        return;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    m_elementBuffer = buffer;
}

void CGLState::ActiveTexture(unsigned unit) {
    if (m_activeUnit == unit)
        return;
    glActiveTexture(GL_TEXTURE0 + unit);
    m_activeUnit = unit;
}

void CGLState::BindTexture(unsigned unit, unsigned target, unsigned texture) {
    if (unit < kUnits && m_textures[unit] == texture && m_textureTargets[unit] == target)
        return;
    ActiveTexture(unit);
    if (unit < kUnits && m_textureTargets[unit] != kUnknown && m_textureTargets[unit] != target)
        glBindTexture(m_textureTargets[unit], 0);  // one texture per unit, whatever its target
    glBindTexture(target, texture);
    if (unit < kUnits) {
        m_textures[unit] = texture;
        m_textureTargets[unit] = target;
    }
}

void CGLState::BindSampler(unsigned unit, unsigned sampler) {
    if (unit < kUnits && m_samplers[unit] == sampler)
        return;
    glBindSampler(unit, sampler);
    if (unit < kUnits)
        m_samplers[unit] = sampler;
}

void CGLState::ForgetTexture(unsigned texture) {
    for (int unit = 0; unit < kUnits; ++unit)
        if (m_textures[unit] == texture)
            m_textures[unit] = kUnknown;
}

void CGLState::ForgetBuffer(unsigned buffer) {
    if (m_arrayBuffer == buffer)
        m_arrayBuffer = kUnknown;
    if (m_elementBuffer == buffer)
        m_elementBuffer = kUnknown;
}
