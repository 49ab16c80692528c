#pragma once
// A cache of the OpenGL state the device sets, so that a call which would not
// change anything is never issued (GL thread only). Values start unknown;
// Invalidate() forgets them after foreign code touched the context.

#include <cstdint>

class CGLState {
public:
    CGLState() { Invalidate(); }
    void Invalidate();

    void Enable(unsigned cap, bool on);  // GL_BLEND, GL_DEPTH_TEST, GL_CULL_FACE, ...
    void BlendFunc(unsigned src, unsigned dst);
    void BlendEquation(unsigned mode);
    void DepthFunc(unsigned func);
    void DepthMask(bool write);
    void DepthRange(float nearValue, float farValue);
    void ColorMask(unsigned mask);  // bit 0 red .. bit 3 alpha
    void StencilFunc(unsigned func, int ref, unsigned mask);
    void StencilOp(unsigned fail, unsigned zfail, unsigned pass);
    void StencilMask(unsigned mask);
    void CullFace(unsigned face);
    void FrontFace(unsigned mode);
    void PolygonMode(unsigned mode);
    void PolygonOffset(float factor, float units);
    void Viewport(int x, int y, int width, int height);
    void Scissor(int x, int y, int width, int height);
    void PointSpriteOrigin(unsigned origin);
    void BindFramebuffer(unsigned framebuffer);
    void UseProgram(unsigned program);
    void BindVertexArray(unsigned vao);
    void BindArrayBuffer(unsigned buffer);
    void BindElementBuffer(unsigned buffer);  // element buffer of the bound VAO
    void BindTexture(unsigned unit, unsigned target, unsigned texture);
    // The unit for uploads and read-backs, never sampled by a stage, so that
    // creating a texture does not disturb the stages' bindings.
    static constexpr unsigned kScratchUnit = 15;
    void BindSampler(unsigned unit, unsigned sampler);

    // Tell the cache that GL objects went away or were bound behind its back.
    void ForgetProgram() { m_program = kUnknown; }
    void ForgetTexture(unsigned texture);
    void ForgetBuffer(unsigned buffer);
    void ForgetFramebuffer() { m_framebuffer = kUnknown; }
    unsigned Framebuffer() const { return m_framebuffer; }

private:
    static constexpr unsigned kUnknown = 0xFFFFFFFFu;
    static constexpr int kCaps = 8;
    static constexpr int kUnits = 16;

    int CapIndex(unsigned cap) const;
    void ActiveTexture(unsigned unit);

    unsigned m_caps[kCaps];
    unsigned m_blendSrc, m_blendDst, m_blendEquation;
    unsigned m_depthFunc, m_depthMask;
    float m_depthNear, m_depthFar;
    unsigned m_colorMask;
    unsigned m_stencilFunc, m_stencilMask, m_stencilWriteMask;
    int m_stencilRef;
    unsigned m_stencilFail, m_stencilZFail, m_stencilPass;
    unsigned m_cullFace, m_frontFace, m_polygonMode;
    float m_offsetFactor, m_offsetUnits;
    int m_viewport[4];
    int m_scissor[4];
    unsigned m_pointSpriteOrigin;
    unsigned m_framebuffer, m_program, m_vao, m_arrayBuffer, m_elementBuffer;
    unsigned m_activeUnit;
    unsigned m_textures[kUnits];
    unsigned m_textureTargets[kUnits];
    unsigned m_samplers[kUnits];
};
