#include "platform/d3d8/CGLRenderer8.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/d3d8/CCubeTexture8.h"
#include "platform/d3d8/CDirect3DDevice8.h"
#include "platform/d3d8/CFixedFunctionShaderGenerator.h"
#include "platform/d3d8/CIndexBuffer8.h"
#include "platform/d3d8/CShaderTranslator.h"
#include "platform/d3d8/CSurface8.h"
#include "platform/d3d8/CTexture8.h"
#include "platform/d3d8/CVertexBuffer8.h"
#include "platform/d3d8/D3D8Math.h"
#include "platform/window/COutputWindow.h"

namespace {

constexpr unsigned kPositionAttribute = 0;
constexpr unsigned kNormalAttribute = 1;
constexpr unsigned kPointSizeAttribute = 2;
constexpr unsigned kDiffuseAttribute = 3;
constexpr unsigned kSpecularAttribute = 4;
constexpr unsigned kFirstTexCoordAttribute = 5;

GLenum PrimitiveMode(D3DPRIMITIVETYPE type) {
    switch (type) {
    case D3DPT_POINTLIST:
        return GL_POINTS;
    case D3DPT_LINELIST:
        return GL_LINES;
    case D3DPT_LINESTRIP:
        return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP:
        return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN:
        return GL_TRIANGLE_FAN;
    default:
        return GL_TRIANGLES;
    }
}

GLenum Comparison(DWORD func) {
    if (func < D3DCMP_NEVER || func > D3DCMP_ALWAYS)
        return GL_ALWAYS;
    return GL_NEVER + (func - D3DCMP_NEVER);  // both APIs list the functions in the same order
}

GLenum BlendFactor(DWORD blend) {
    switch (blend) {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
        return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
        return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
        return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
        return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT:
        return GL_SRC_ALPHA_SATURATE;
    default:
        return GL_ONE;
    }
}

GLenum BlendEquation(DWORD op) {
    switch (op) {
    case D3DBLENDOP_SUBTRACT:
        return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT:
        return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN:
        return GL_MIN;
    case D3DBLENDOP_MAX:
        return GL_MAX;
    default:
        return GL_FUNC_ADD;
    }
}

GLenum StencilOperation(DWORD op) {
    switch (op) {
    case D3DSTENCILOP_ZERO:
        return GL_ZERO;
    case D3DSTENCILOP_REPLACE:
        return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT:
        return GL_INCR;
    case D3DSTENCILOP_DECRSAT:
        return GL_DECR;
    case D3DSTENCILOP_INVERT:
        return GL_INVERT;
    case D3DSTENCILOP_INCR:
        return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR:
        return GL_DECR_WRAP;
    default:
        return GL_KEEP;
    }
}

GLint AddressMode(DWORD address) {
    switch (address) {
    case D3DTADDRESS_MIRROR:
        return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP:
        return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER:
        return GL_CLAMP_TO_BORDER;
    case D3DTADDRESS_MIRRORONCE:
        return GL_CLAMP_TO_EDGE;
    default:
        return GL_REPEAT;
    }
}

GLint MinFilter(DWORD min, DWORD mip) {
    const bool linear = min != D3DTEXF_POINT && min != D3DTEXF_NONE;
    if (mip == D3DTEXF_NONE)
        return linear ? GL_LINEAR : GL_NEAREST;
    if (mip == D3DTEXF_POINT)
        return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
}

void ColorToFloats(D3DCOLOR color, float out[4]) {
    out[0] = static_cast<float>((color >> 16) & 0xFF) / 255.0f;
    out[1] = static_cast<float>((color >> 8) & 0xFF) / 255.0f;
    out[2] = static_cast<float>(color & 0xFF) / 255.0f;
    out[3] = static_cast<float>((color >> 24) & 0xFF) / 255.0f;
}

void CopyColor(const D3DCOLORVALUE& c, float out[4]) {
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
    out[3] = c.a;
}

void CopyMatrix(const D3DMATRIX& m, float out[16]) {
    std::memcpy(out, &m, sizeof(float) * 16);
}

CTextureStorage* StorageOf(IDirect3DBaseTexture8* texture) {
    if (!texture)
        return nullptr;
    switch (texture->GetType()) {
    case D3DRTYPE_TEXTURE:
        return &static_cast<CTexture8*>(texture)->Storage();
    case D3DRTYPE_CUBETEXTURE:
        return &static_cast<CCubeTexture8*>(texture)->Storage();
    default:
        return nullptr;
    }
}

}  // namespace

CGLRenderer8::CGLRenderer8(CDirect3DDevice8& device) : m_device(device) {}

CGLRenderer8::~CGLRenderer8() = default;

bool CGLRenderer8::Initialise() {
    if (epoxy_gl_version() < 33) {
        std::fprintf(stderr, "d3d8: OpenGL 3.3 or later is needed (found %d.%d)\n", epoxy_gl_version() / 10,
                     epoxy_gl_version() % 10);
        return false;
    }
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &m_maxTextureSize);
    GLfloat pointRange[2] = {1.0f, 64.0f};
    glGetFloatv(GL_POINT_SIZE_RANGE, pointRange);
    m_maxPointSize = pointRange[1];
    m_clipControl = epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control");
    if (m_clipControl)
        glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    if (epoxy_has_gl_extension("GL_NVX_gpu_memory_info")) {
        GLint kilobytes = 0;
        glGetIntegerv(0x9049 /* GPU_MEMORY_INFO_CURRENT_AVAILABLE_VIDMEM_NVX */, &kilobytes);
        m_reportedFreeMemory = static_cast<UINT64>(kilobytes) * 1024;
    } else if (epoxy_has_gl_extension("GL_ATI_meminfo")) {
        GLint info[4] = {};
        glGetIntegerv(0x87FC /* TEXTURE_FREE_MEMORY_ATI */, info);
        m_reportedFreeMemory = static_cast<UINT64>(info[0]) * 1024;
    }
    glGenVertexArrays(1, &m_vao);
    m_gl.BindVertexArray(m_vao);
    m_transformRing.Create(sizeof(STransformConstants), kTransformBlockBinding);
    m_vertexRing.Create(sizeof(SVertexConstants), kVertexBlockBinding);
    m_pixelRing.Create(sizeof(SPixelConstants), kPixelBlockBinding);
    m_vertexShaderRing.Create(sizeof(SVertexShaderConstants), kVertexShaderBlockBinding);
    m_pixelShaderRing.Create(sizeof(SPixelShaderConstants), kPixelShaderBlockBinding);
    glGenBuffers(1, &m_streamVertices);
    glGenBuffers(1, &m_streamIndices);
    glEnable(GL_PROGRAM_POINT_SIZE);
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);  // flat shading takes the first vertex, as in Direct3D
    m_dirty = d3d8dirty::kAll;
    return true;
}

void CGLRenderer8::Shutdown() {
    FlushDeletions();
    m_programs.Clear();
    for (const SFramebuffer& fb : m_framebuffers)
        glDeleteFramebuffers(1, &fb.framebuffer);
    m_framebuffers.clear();
    for (auto& [key, sampler] : m_samplers)
        glDeleteSamplers(1, &sampler);
    m_samplers.clear();
    m_transformRing.Destroy();
    m_vertexRing.Destroy();
    m_pixelRing.Destroy();
    m_vertexShaderRing.Destroy();
    m_pixelShaderRing.Destroy();
    m_vertexShader.reset();
    m_pixelShader.reset();
    const unsigned buffers[] = {m_streamVertices, m_streamIndices};
    glDeleteBuffers(2, buffers);
    glDeleteVertexArrays(1, &m_vao);
    m_vao = m_streamVertices = m_streamIndices = 0;
    m_gl.Invalidate();
}

// --- deletion --------------------------------------------------------------------

void CGLRenderer8::DeleteNow(EObject kind, unsigned name) {
    if (kind == EObject::VertexShader || kind == EObject::PixelShader) {
        const bool vertex = kind == EObject::VertexShader;
        if (m_programs.ForgetShader(vertex ? name : 0, vertex ? 0 : name) != 0) {
            m_program = 0;  // it may have been one of them
            m_gl.ForgetProgram();
            m_dirty |= d3d8dirty::kProgram;
        }
        return;
    }
    if (kind == EObject::Buffer) {
        m_gl.ForgetBuffer(name);
        if (m_inputBuffer == name)
            m_inputBuffer = 0;
        glDeleteBuffers(1, &name);
        return;
    }
    // Framebuffers that used the texture or renderbuffer go with it.
    for (auto it = m_framebuffers.begin(); it != m_framebuffers.end();) {
        const bool uses = kind == EObject::Texture ? it->colorTexture == name : it->depth == name;
        if (!uses) {
            ++it;
            continue;
        }
        if (m_gl.Framebuffer() == it->framebuffer) {
            m_gl.ForgetFramebuffer();
            m_dirty |= d3d8dirty::kTarget;
        }
        glDeleteFramebuffers(1, &it->framebuffer);
        it = m_framebuffers.erase(it);
    }
    if (kind == EObject::Texture) {
        m_gl.ForgetTexture(name);
        glDeleteTextures(1, &name);
    } else {
        glDeleteRenderbuffers(1, &name);
    }
}

void CGLRenderer8::FlushDeletions() {
    for (const auto& [kind, name] : m_deletions)
        DeleteNow(kind, name);
    m_deletions.clear();
}

// --- draws -----------------------------------------------------------------------

HRESULT CGLRenderer8::Draw(D3DPRIMITIVETYPE type, UINT startVertex, UINT vertexCount) {
    if (!PrepareDraw(type == D3DPT_POINTLIST) || !PrepareStream0())
        return D3DERR_INVALIDCALL;
    glDrawArrays(PrimitiveMode(type), static_cast<GLint>(startVertex), static_cast<GLsizei>(vertexCount));
    MarkTargetRendered();
    return D3D_OK;
}

HRESULT CGLRenderer8::DrawIndexed(D3DPRIMITIVETYPE type, UINT startIndex, UINT indexCount) {
    const CDeviceState& state = m_device.State();
    auto* indices = static_cast<CIndexBuffer8*>(state.indices);
    if (!indices || !PrepareDraw(type == D3DPT_POINTLIST) || !PrepareStream0())
        return D3DERR_INVALIDCALL;
    CBufferStorage& storage = indices->Storage();
    const unsigned name = storage.Prepare(m_gl);
    m_gl.BindElementBuffer(name);
    const UINT indexSize = indices->IndexSize();
    if (static_cast<UINT64>(startIndex + indexCount) * indexSize > storage.Size())
        return D3DERR_INVALIDCALL;
    glDrawElementsBaseVertex(PrimitiveMode(type), static_cast<GLsizei>(indexCount),
                             indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                             reinterpret_cast<const void*>(static_cast<std::uintptr_t>(startIndex) * indexSize),
                             static_cast<GLint>(state.baseVertexIndex));
    MarkTargetRendered();
    return D3D_OK;
}

HRESULT CGLRenderer8::DrawUser(D3DPRIMITIVETYPE type, UINT vertexCount, const void* vertices, UINT stride,
                               const void* indices, UINT indexCount, UINT indexSize) {
    if (!PrepareDraw(type == D3DPT_POINTLIST) || !InputValid() || stride < InputStride())
        return D3DERR_INVALIDCALL;
    // User data streams through one buffer that is replaced when it fills up.
    const std::size_t vertexBytes = static_cast<std::size_t>(vertexCount) * stride;
    m_gl.BindArrayBuffer(m_streamVertices);
    if (vertexBytes > m_streamVertexCapacity)
        m_streamVertexCapacity = std::max<std::size_t>(vertexBytes, 1 << 20);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(m_streamVertexCapacity), nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(vertexBytes), vertices);
    SetupAttributes(m_streamVertices, stride, 0);
    m_inputBuffer = 0;  // the next buffer draw must point the attributes again
    if (!indices) {
        glDrawArrays(PrimitiveMode(type), 0, static_cast<GLsizei>(vertexCount));
        MarkTargetRendered();
        return D3D_OK;
    }
    const std::size_t indexBytes = static_cast<std::size_t>(indexCount) * indexSize;
    m_gl.BindElementBuffer(m_streamIndices);
    if (indexBytes > m_streamIndexCapacity)
        m_streamIndexCapacity = std::max<std::size_t>(indexBytes, 1 << 18);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(m_streamIndexCapacity), nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(indexBytes), indices);
    glDrawElements(PrimitiveMode(type), static_cast<GLsizei>(indexCount),
                   indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, nullptr);
    MarkTargetRendered();
    return D3D_OK;
}

bool CGLRenderer8::PrepareStream0() {
    const SStreamSource& stream = m_device.State().streams[0];
    auto* buffer = static_cast<CVertexBuffer8*>(stream.buffer);
    if (!buffer || !InputValid() || stream.stride == 0)
        return false;
    // A declared element must lie inside each vertex of the stream.
    if (m_vertexShader && stream.stride < InputStride())
        return false;
    const unsigned name = buffer->Storage().Prepare(m_gl);
    if (name != m_inputBuffer || stream.stride != m_inputStride || m_inputOffset != 0 || m_fvf != m_inputFvf)
        SetupAttributes(name, stream.stride, 0);
    return true;
}

void CGLRenderer8::SetupAttributes(unsigned buffer, UINT stride, std::size_t offset) {
    m_gl.BindVertexArray(m_vao);
    m_gl.BindArrayBuffer(buffer);
    const unsigned enabled =
        m_vertexShader ? PointDeclaredAttributes(stride, offset) : PointFvfAttributes(stride, offset);
    for (unsigned location = 0; location < 16; ++location) {
        const unsigned bit = 1u << location;
        if ((enabled & bit) && !(m_enabledAttributes & bit))
            glEnableVertexAttribArray(location);
        if (!(enabled & bit) && (m_enabledAttributes & bit))
            glDisableVertexAttribArray(location);
    }
    m_enabledAttributes = enabled;
    m_inputBuffer = buffer;
    m_inputStride = stride;
    m_inputOffset = offset;
    m_inputFvf = m_fvf;
}

// Points the fixed-function attributes at the elements of the flexible
// vertex format; returns the locations in use.
unsigned CGLRenderer8::PointFvfAttributes(UINT stride, std::size_t offset) {
    unsigned enabled = 0;
    auto floats = [&](unsigned location, const SFvfElement& element) {
        if (!element.present)
            return;
        glVertexAttribPointer(location, static_cast<GLint>(element.components), GL_FLOAT, GL_FALSE,
                              static_cast<GLsizei>(stride), reinterpret_cast<const void*>(offset + element.offset));
        enabled |= 1u << location;
    };
    auto color = [&](unsigned location, const SFvfElement& element) {
        if (!element.present)
            return;
        // D3DCOLOR is B, G, R, A in memory: GL reads it as such with GL_BGRA.
        glVertexAttribPointer(location, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, static_cast<GLsizei>(stride),
                              reinterpret_cast<const void*>(offset + element.offset));
        enabled |= 1u << location;
    };
    floats(kPositionAttribute, m_layout.Position());
    floats(kNormalAttribute, m_layout.Normal());
    floats(kPointSizeAttribute, m_layout.PointSize());
    color(kDiffuseAttribute, m_layout.Diffuse());
    color(kSpecularAttribute, m_layout.Specular());
    for (UINT set = 0; set < m_layout.TexCoordCount(); ++set)
        floats(kFirstTexCoordAttribute + set, m_layout.TexCoord(set));
    return enabled;
}

// Points input register v# (location #) at its declared element of stream 0.
unsigned CGLRenderer8::PointDeclaredAttributes(UINT stride, std::size_t offset) {
    unsigned enabled = 0;
    for (const SVertexElement& element : m_vertexShader->declaration.Elements()) {
        const void* pointer = reinterpret_cast<const void*>(offset + element.offset);
        const auto size = static_cast<GLint>(element.components);
        const auto bytes = static_cast<GLsizei>(stride);
        switch (element.kind) {
        case EVertexElementKind::Color:
            glVertexAttribPointer(element.reg, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, bytes, pointer);
            break;
        case EVertexElementKind::UnsignedByte:
            glVertexAttribPointer(element.reg, size, GL_UNSIGNED_BYTE, GL_FALSE, bytes, pointer);
            break;
        case EVertexElementKind::Short:
            glVertexAttribPointer(element.reg, size, GL_SHORT, GL_FALSE, bytes, pointer);
            break;
        default:
            glVertexAttribPointer(element.reg, size, GL_FLOAT, GL_FALSE, bytes, pointer);
            break;
        }
        enabled |= 1u << element.reg;
    }
    return enabled;
}

bool CGLRenderer8::InputValid() const {
    return m_vertexShader ? true : m_layout.IsValid();
}

// Bytes of one vertex as the current format or declaration lays it out.
UINT CGLRenderer8::InputStride() const {
    return m_vertexShader ? m_vertexShader->declaration.StreamStride(0) : m_layout.Stride();
}

bool CGLRenderer8::PrepareDraw(bool pointList) {
    if (!m_deletions.empty())
        FlushDeletions();
    const std::uint32_t dirty = m_dirty;
    if (dirty & d3d8dirty::kTarget)
        ApplyTarget();
    if ((m_dirty & d3d8dirty::kProgram) || pointList != m_lastPointList)
        ApplyProgram(pointList);
    if (m_program == 0)
        return false;
    if (m_dirty &
        (d3d8dirty::kTransforms | d3d8dirty::kTextureMatrices | d3d8dirty::kLights | d3d8dirty::kMaterial |
         d3d8dirty::kFrame | d3d8dirty::kPixel | d3d8dirty::kVertexShaderConstants | d3d8dirty::kPixelShaderConstants))
        ApplyConstants();
    if (m_dirty & d3d8dirty::kBlend)
        ApplyBlend();
    if (m_dirty & d3d8dirty::kDepth)
        ApplyDepth();
    if (m_dirty & d3d8dirty::kRaster)
        ApplyRaster();
    if (m_dirty & d3d8dirty::kStencil)
        ApplyStencil();
    if (m_dirty & d3d8dirty::kViewport)
        ApplyViewport();
    if (m_dirty & d3d8dirty::kTextures)
        ApplyTextures();
    if (m_dirty & d3d8dirty::kSamplers)
        ApplySamplers();
    // Textures locked and changed since the last draw.
    for (unsigned stage = 0; stage < m_key.stageCount; ++stage) {
        CTextureStorage* storage = m_stageStorage[stage];
        if (storage && storage->NeedsUpload()) {
            storage->Prepare(m_gl);
            m_gl.BindTexture(stage, storage->GLTarget(), storage->GLName());
        }
    }
    m_dirty = 0;
    return true;
}

void CGLRenderer8::MarkTargetRendered() {
    if (m_targetStorage)
        m_targetStorage->MarkRendered(m_targetFace, m_targetLevel);
}

// --- render target ------------------------------------------------------------------

unsigned CGLRenderer8::FramebufferFor(CTextureStorage& storage, unsigned imageTarget, UINT level, unsigned depth) {
    const unsigned texture = storage.Prepare(m_gl);
    for (const SFramebuffer& fb : m_framebuffers)
        if (fb.colorTexture == texture && fb.colorTarget == imageTarget && fb.level == level && fb.depth == depth)
            return fb.framebuffer;
    SFramebuffer fb{texture, imageTarget, level, depth, 0};
    glGenFramebuffers(1, &fb.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, fb.framebuffer);
    m_gl.ForgetFramebuffer();
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, imageTarget, texture, static_cast<GLint>(level));
    if (depth) {
        GLint depthBits = 0, stencilBits = 0;
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_DEPTH_SIZE, &depthBits);
        glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_STENCIL_SIZE, &stencilBits);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, stencilBits ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                                  GL_RENDERBUFFER, depth);
    }
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE)
        std::fprintf(stderr, "d3d8: render target framebuffer incomplete (0x%x)\n", static_cast<unsigned>(status));
    m_framebuffers.push_back(fb);
    return fb.framebuffer;
}

void CGLRenderer8::ApplyTarget() {
    CSurface8* target = m_device.RenderTarget();
    CSurface8* depth = m_device.DepthStencil();
    const bool wasFlipped = m_targetFlipped;
    const int oldWidth = m_targetWidth, oldHeight = m_targetHeight;
    if (!target || target->Kind() == CSurface8::EKind::BackBuffer) {
        // The back buffer comes with its own depth buffer; a separate depth
        // surface cannot be combined with it in GL.
        m_gl.BindFramebuffer(m_device.BackBufferFramebufferName());
        m_targetFlipped = false;
        m_targetStorage = nullptr;
        m_targetWidth = static_cast<int>(m_device.BackBufferWidth());
        m_targetHeight = static_cast<int>(m_device.BackBufferHeight());
    } else {
        CTextureStorage& storage = *target->Storage();
        const unsigned depthName = depth ? depth->PrepareRenderbuffer() : 0;
        const unsigned framebuffer =
            FramebufferFor(storage, storage.GLImageTarget(target->Face()), target->Level(), depthName);
        m_gl.BindFramebuffer(framebuffer);
        m_targetFlipped = true;
        m_targetStorage = &storage;
        m_targetFace = target->Face();
        m_targetLevel = target->Level();
        m_targetWidth = static_cast<int>(target->Width());
        m_targetHeight = static_cast<int>(target->Height());
    }
    // Rows of texture targets are stored top first, so points count t from the bottom there.
    m_gl.PointSpriteOrigin(m_targetFlipped ? GL_LOWER_LEFT : GL_UPPER_LEFT);
    if (wasFlipped != m_targetFlipped)
        m_dirty |= d3d8dirty::kRaster | d3d8dirty::kFrame;
    if (oldWidth != m_targetWidth || oldHeight != m_targetHeight)
        m_dirty |= d3d8dirty::kFrame;
    m_dirty |= d3d8dirty::kViewport;
    m_dirty &= ~d3d8dirty::kTarget;
}

// --- program and constants --------------------------------------------------------------

void CGLRenderer8::ApplyProgram(bool pointList) {
    const CDeviceState& state = m_device.State();
    const CShaderRegistry& shaders = m_device.Shaders();
    const bool vertexShader = D3D8IsShaderHandle(state.vertexShader);
    m_vertexShader = vertexShader ? shaders.VertexShader(state.vertexShader) : nullptr;
    m_pixelShader = state.pixelShader ? shaders.PixelShader(state.pixelShader) : nullptr;
    m_lastPointList = pointList;
    if ((vertexShader && !m_vertexShader) || (state.pixelShader && !m_pixelShader)) {
        m_program = 0;  // a deleted shader is still set: nothing draws
        return;
    }
    if (state.vertexShader != m_fvf) {
        m_fvf = state.vertexShader;
        m_layout = CFvfLayout(vertexShader ? 0 : m_fvf);
    }
    ETextureType types[D3D8_MAX_TEXTURE_STAGES];
    for (DWORD stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage) {
        IDirect3DBaseTexture8* texture = state.textures[stage];
        types[stage] = !texture                                     ? ETextureType::None
                       : texture->GetType() == D3DRTYPE_CUBETEXTURE ? ETextureType::Cube
                                                                    : ETextureType::Texture2D;
    }
    if (!m_vertexShader && !m_pixelShader) {
        const SFixedFunctionKey key =
            SFixedFunctionKey::Build(state, m_layout, m_fvf, pointList, types, !m_clipControl);
        if (m_program == 0 || key != m_key || m_programShaders != 0)
            UseProgram(m_programs.Get(key), key);
        m_programShaders = 0;
        return;
    }
    const SShaderProgramKey key{
        vertexShader ? state.vertexShader : 0, state.pixelShader,
        SFixedFunctionKey::BuildForShaders(state, m_layout, m_fvf, pointList, types, !m_clipControl,
                                           m_vertexShader != nullptr, m_pixelShader != nullptr)};
    const std::uint64_t shaderPair = (std::uint64_t{key.vertexShader} << 32) | key.pixelShader;
    if (m_program != 0 && key.state == m_key && shaderPair == m_programShaders)
        return;
    const unsigned program = m_programs.Get(key, [&] {
        const SFixedFunctionKey& k = key.state;
        return std::make_pair(m_vertexShader ? CShaderTranslator::VertexShader(m_vertexShader->program, k)
                                             : CFixedFunctionShaderGenerator::VertexShader(k),
                              m_pixelShader ? CShaderTranslator::PixelShader(m_pixelShader->program, k)
                                            : CFixedFunctionShaderGenerator::FragmentShader(k));
    });
    m_programShaders = shaderPair;
    UseProgram(program, key.state);
}

void CGLRenderer8::UseProgram(unsigned program, const SFixedFunctionKey& key) {
    const bool lightsChanged =
        std::memcmp(key.lightTypes, m_key.lightTypes, sizeof key.lightTypes) != 0 || key.lightCount != m_key.lightCount;
    m_key = key;
    m_gl.ForgetProgram();  // building a program binds it
    m_gl.UseProgram(program);
    m_program = program;
    if (lightsChanged)
        m_dirty |= d3d8dirty::kLights;
    m_dirty |= d3d8dirty::kTextures;  // the stages in use may differ
}

void CGLRenderer8::ApplyConstants() {
    if (m_dirty & (d3d8dirty::kTransforms | d3d8dirty::kFrame)) {
        if (m_dirty & d3d8dirty::kTransforms)
            WriteTransformConstants();
        if (m_dirty & d3d8dirty::kFrame)
            WriteFrameConstants();
        m_transformRing.Publish(&m_transforms);
    }
    if (m_dirty & (d3d8dirty::kTextureMatrices | d3d8dirty::kMaterial | d3d8dirty::kLights)) {
        if (m_dirty & d3d8dirty::kTextureMatrices)
            for (DWORD stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage)
                CopyMatrix(m_device.State().textureTransforms[stage], m_vertexConstants.textureMatrix[stage]);
        if (m_dirty & d3d8dirty::kMaterial)
            WriteMaterialConstants();
        if (m_dirty & d3d8dirty::kLights)
            WriteLightConstants();
        m_vertexRing.Publish(&m_vertexConstants);
    }
    if (m_dirty & d3d8dirty::kPixel) {
        WritePixelConstants();
        m_pixelRing.Publish(&m_pixelConstants);
    }
    if (m_dirty & d3d8dirty::kVertexShaderConstants) {
        std::memcpy(m_vertexShaderConstants.c, m_device.State().vertexShaderConstants,
                    sizeof m_vertexShaderConstants.c);
        m_vertexShaderRing.Publish(&m_vertexShaderConstants);
    }
    if (m_dirty & d3d8dirty::kPixelShaderConstants) {
        WritePixelShaderConstants();
        m_pixelShaderRing.Publish(&m_pixelShaderConstants);
    }
}

// The pixel shader block: the constants and each stage's bump-mapping values.
void CGLRenderer8::WritePixelShaderConstants() {
    const CDeviceState& state = m_device.State();
    std::memcpy(m_pixelShaderConstants.c, state.pixelShaderConstants, sizeof m_pixelShaderConstants.c);
    for (unsigned stage = 0; stage < D3D8_PS_TEXTURE_REGISTERS; ++stage) {
        const DWORD* ts = state.stageStates[stage];
        float* matrix = m_pixelShaderConstants.bumpMatrix[stage];
        matrix[0] = StateAsFloat(ts[D3DTSS_BUMPENVMAT00]);
        matrix[1] = StateAsFloat(ts[D3DTSS_BUMPENVMAT01]);
        matrix[2] = StateAsFloat(ts[D3DTSS_BUMPENVMAT10]);
        matrix[3] = StateAsFloat(ts[D3DTSS_BUMPENVMAT11]);
        m_pixelShaderConstants.bumpLuminance[stage][0] = StateAsFloat(ts[D3DTSS_BUMPENVLSCALE]);
        m_pixelShaderConstants.bumpLuminance[stage][1] = StateAsFloat(ts[D3DTSS_BUMPENVLOFFSET]);
    }
}

void CGLRenderer8::WriteTransformConstants() {
    const CDeviceState& state = m_device.State();
    const D3DMATRIX worldView = d3d8math::Multiply(state.world[0], state.view);
    CopyMatrix(worldView, m_transforms.worldView);
    CopyMatrix(state.projection, m_transforms.projection);
    CopyMatrix(d3d8math::NormalMatrix(worldView), m_transforms.normalMatrix);
}

void CGLRenderer8::WriteFrameConstants() {
    const D3DVIEWPORT8& vp = m_device.State().viewport;
    const float width = static_cast<float>(std::max<DWORD>(vp.Width, 1));
    const float height = static_cast<float>(std::max<DWORD>(vp.Height, 1));
    // Pre-transformed vertices: pixel coordinates of the target to the
    // viewport's normalised coordinates (y down in Direct3D).
    m_transforms.viewportTransform[0] = 2.0f / width;
    m_transforms.viewportTransform[1] = -2.0f / height;
    m_transforms.viewportTransform[2] = -1.0f - 2.0f * static_cast<float>(vp.X) / width;
    m_transforms.viewportTransform[3] = 1.0f + 2.0f * static_cast<float>(vp.Y) / height;
    // Half a pixel right and down, then y flipped for texture targets.
    const float sign = m_targetFlipped ? -1.0f : 1.0f;
    m_transforms.positionFixup[0] = 1.0f / width;
    m_transforms.positionFixup[1] = sign;
    m_transforms.positionFixup[2] = -sign / height;
    m_transforms.positionFixup[3] = 0.0f;
}

void CGLRenderer8::WriteMaterialConstants() {
    const CDeviceState& state = m_device.State();
    const DWORD* rs = state.renderStates;
    SVertexConstants& c = m_vertexConstants;
    CopyColor(state.material.Diffuse, c.materialDiffuse);
    CopyColor(state.material.Ambient, c.materialAmbient);
    CopyColor(state.material.Specular, c.materialSpecular);
    CopyColor(state.material.Emissive, c.materialEmissive);
    c.materialPower[0] = state.material.Power;
    ColorToFloats(rs[D3DRS_AMBIENT], c.globalAmbient);
    c.pointParams[0] = StateAsFloat(rs[D3DRS_POINTSIZE]);
    c.pointParams[1] = StateAsFloat(rs[D3DRS_POINTSIZE_MIN]);
    c.pointParams[2] = std::min(StateAsFloat(rs[D3DRS_POINTSIZE_MAX]), m_maxPointSize);
    c.pointParams[3] = static_cast<float>(state.viewport.Height);
    c.pointScale[0] = StateAsFloat(rs[D3DRS_POINTSCALE_A]);
    c.pointScale[1] = StateAsFloat(rs[D3DRS_POINTSCALE_B]);
    c.pointScale[2] = StateAsFloat(rs[D3DRS_POINTSCALE_C]);
}

void CGLRenderer8::WritePixelConstants() {
    const DWORD* rs = m_device.State().renderStates;
    SPixelConstants& c = m_pixelConstants;
    ColorToFloats(rs[D3DRS_FOGCOLOR], c.fogColor);
    const float start = StateAsFloat(rs[D3DRS_FOGSTART]), end = StateAsFloat(rs[D3DRS_FOGEND]);
    c.fogParams[0] = start;
    c.fogParams[1] = end;
    c.fogParams[2] = StateAsFloat(rs[D3DRS_FOGDENSITY]);
    c.fogParams[3] = end != start ? 1.0f / (end - start) : 0.0f;
    ColorToFloats(rs[D3DRS_TEXTUREFACTOR], c.textureFactor);
    c.alphaReference[0] = static_cast<float>(rs[D3DRS_ALPHAREF] & 0xFF);
}

void CGLRenderer8::WriteLightConstants() {
    const CDeviceState& state = m_device.State();
    unsigned slot = 0;
    // Same order as the key: enabled lights by index.
    for (const auto& [index, light] : state.lights) {
        if (!light.enabled || slot == 8)
            continue;
        const D3DLIGHT8& l = light.light;
        SLightConstants& c = m_vertexConstants.lights[slot++];
        CopyColor(l.Diffuse, c.diffuse);
        CopyColor(l.Specular, c.specular);
        CopyColor(l.Ambient, c.ambient);
        const float position[4] = {l.Position.x, l.Position.y, l.Position.z, 1.0f};
        const float direction[4] = {l.Direction.x, l.Direction.y, l.Direction.z, 0.0f};
        d3d8math::TransformVector(state.view, position, c.position);
        d3d8math::TransformVector(state.view, direction, c.direction);
        const float length = std::sqrt(c.direction[0] * c.direction[0] + c.direction[1] * c.direction[1] +
                                       c.direction[2] * c.direction[2]);
        for (int i = 0; i < 3 && length > 0.0f; ++i)
            c.direction[i] /= length;
        c.position[3] = l.Range > 0.0f ? l.Range : 3.4e38f;
        c.direction[3] = l.Falloff;
        c.attenuation[0] = l.Attenuation0;
        c.attenuation[1] = l.Attenuation1;
        c.attenuation[2] = l.Attenuation2;
        c.spot[0] = std::cos(l.Theta * 0.5f);
        c.spot[1] = std::cos(l.Phi * 0.5f);
    }
}

// --- fixed GL state -------------------------------------------------------------------

void CGLRenderer8::ApplyBlend() {
    const DWORD* rs = m_device.State().renderStates;
    m_gl.Enable(GL_BLEND, rs[D3DRS_ALPHABLENDENABLE] != 0);
    GLenum src = BlendFactor(rs[D3DRS_SRCBLEND]), dst = BlendFactor(rs[D3DRS_DESTBLEND]);
    if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHSRCALPHA) {
        src = GL_SRC_ALPHA;
        dst = GL_ONE_MINUS_SRC_ALPHA;
    } else if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHINVSRCALPHA) {
        src = GL_ONE_MINUS_SRC_ALPHA;
        dst = GL_SRC_ALPHA;
    }
    m_gl.BlendFunc(src, dst);
    m_gl.BlendEquation(BlendEquation(rs[D3DRS_BLENDOP]));
    m_gl.ColorMask(rs[D3DRS_COLORWRITEENABLE] & 0xF);
}

void CGLRenderer8::ApplyDepth() {
    const DWORD* rs = m_device.State().renderStates;
    m_gl.Enable(GL_DEPTH_TEST, rs[D3DRS_ZENABLE] != D3DZB_FALSE);
    m_gl.DepthFunc(Comparison(rs[D3DRS_ZFUNC]));
    m_gl.DepthMask(rs[D3DRS_ZWRITEENABLE] != 0);
}

void CGLRenderer8::ApplyRaster() {
    const DWORD* rs = m_device.State().renderStates;
    const DWORD cull = rs[D3DRS_CULLMODE];
    m_gl.Enable(GL_CULL_FACE, cull == D3DCULL_CW || cull == D3DCULL_CCW);
    // Culling counter-clockwise faces means clockwise ones are front faces; a
    // texture target is drawn upside down, which swaps the windings.
    const bool clockwiseFront = (cull != D3DCULL_CW) != m_targetFlipped;
    m_gl.FrontFace(clockwiseFront ? GL_CW : GL_CCW);
    m_gl.CullFace(GL_BACK);
    const DWORD fill = rs[D3DRS_FILLMODE];
    m_gl.PolygonMode(fill == D3DFILL_POINT ? GL_POINT : fill == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL);
    // A higher z-bias draws nearer: pull the depth towards the viewer.
    const float bias = static_cast<float>(std::min<DWORD>(rs[D3DRS_ZBIAS], 16));
    const bool offset = bias > 0.0f;
    m_gl.Enable(GL_POLYGON_OFFSET_FILL, offset);
    m_gl.Enable(GL_POLYGON_OFFSET_LINE, offset);
    m_gl.Enable(GL_POLYGON_OFFSET_POINT, offset);
    if (offset)
        m_gl.PolygonOffset(-bias, -2.0f * bias);
}

void CGLRenderer8::ApplyStencil() {
    const DWORD* rs = m_device.State().renderStates;
    m_gl.Enable(GL_STENCIL_TEST, rs[D3DRS_STENCILENABLE] != 0);
    m_gl.StencilFunc(Comparison(rs[D3DRS_STENCILFUNC]), static_cast<int>(rs[D3DRS_STENCILREF]), rs[D3DRS_STENCILMASK]);
    m_gl.StencilOp(StencilOperation(rs[D3DRS_STENCILFAIL]), StencilOperation(rs[D3DRS_STENCILZFAIL]),
                   StencilOperation(rs[D3DRS_STENCILPASS]));
    m_gl.StencilMask(rs[D3DRS_STENCILWRITEMASK]);
}

void CGLRenderer8::ApplyViewport() {
    const D3DVIEWPORT8& vp = m_device.State().viewport;
    const int x = static_cast<int>(vp.X), width = static_cast<int>(vp.Width), height = static_cast<int>(vp.Height);
    const int y = m_targetFlipped ? static_cast<int>(vp.Y) : m_targetHeight - static_cast<int>(vp.Y) - height;
    m_gl.Viewport(x, y, width, height);
    m_gl.DepthRange(std::clamp(vp.MinZ, 0.0f, 1.0f), std::clamp(vp.MaxZ, 0.0f, 1.0f));
    m_gl.Enable(GL_SCISSOR_TEST, false);
}

void CGLRenderer8::ApplyTextures() {
    const CDeviceState& state = m_device.State();
    for (unsigned stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage) {
        const bool used = stage < m_key.stageCount && m_key.stages[stage].textureType != ETextureType::None;
        CTextureStorage* storage = used ? StorageOf(state.textures[stage]) : nullptr;
        m_stageStorage[stage] = storage;
        if (!storage)
            continue;
        storage->Prepare(m_gl);
        m_gl.BindTexture(stage, storage->GLTarget(), storage->GLName());
    }
}

void CGLRenderer8::ApplySamplers() {
    const CDeviceState& state = m_device.State();
    for (unsigned stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage)
        m_gl.BindSampler(stage, SamplerFor(state.stageStates[stage]));
}

unsigned CGLRenderer8::SamplerFor(const DWORD* ts) {
    const std::array<DWORD, 9> key = {ts[D3DTSS_MINFILTER],   ts[D3DTSS_MAGFILTER],     ts[D3DTSS_MIPFILTER],
                                      ts[D3DTSS_ADDRESSU],    ts[D3DTSS_ADDRESSV],      ts[D3DTSS_ADDRESSW],
                                      ts[D3DTSS_BORDERCOLOR], ts[D3DTSS_MIPMAPLODBIAS], ts[D3DTSS_MAXMIPLEVEL]};
    auto found = m_samplers.find(key);
    if (found != m_samplers.end())
        return found->second;
    GLuint sampler = 0;
    glGenSamplers(1, &sampler);
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, MinFilter(key[0], key[2]));
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER,
                        key[1] == D3DTEXF_POINT || key[1] == D3DTEXF_NONE ? GL_NEAREST : GL_LINEAR);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, AddressMode(key[3]));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, AddressMode(key[4]));
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_R, AddressMode(key[5]));
    float border[4];
    ColorToFloats(key[6], border);
    glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, border);
    glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, StateAsFloat(key[7]));
    glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, static_cast<float>(key[8]));
    m_samplers.emplace(key, sampler);
    return sampler;
}

// --- clear and present ------------------------------------------------------------------

void CGLRenderer8::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
    if (!m_deletions.empty())
        FlushDeletions();
    if (m_dirty & d3d8dirty::kTarget)
        ApplyTarget();
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        float c[4];
        ColorToFloats(color, c);
        glClearColor(c[0], c[1], c[2], c[3]);
        m_gl.ColorMask(0xF);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        glClearDepth(std::clamp(z, 0.0f, 1.0f));
        m_gl.DepthMask(true);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_STENCIL) {
        glClearStencil(static_cast<GLint>(stencil));
        m_gl.StencilMask(0xFFFFFFFF);
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    // Direct3D clears the viewport, or the given rectangles inside it.
    const D3DVIEWPORT8& vp = m_device.State().viewport;
    const LONG vx1 = static_cast<LONG>(vp.X), vy1 = static_cast<LONG>(vp.Y);
    const LONG vx2 = vx1 + static_cast<LONG>(vp.Width), vy2 = vy1 + static_cast<LONG>(vp.Height);
    auto clearRect = [&](LONG x1, LONG y1, LONG x2, LONG y2) {
        x1 = std::max(x1, vx1);
        y1 = std::max(y1, vy1);
        x2 = std::min(x2, vx2);
        y2 = std::min(y2, vy2);
        if (x2 <= x1 || y2 <= y1)
            return;
        const int glY = m_targetFlipped ? static_cast<int>(y1) : m_targetHeight - static_cast<int>(y2);
        m_gl.Enable(GL_SCISSOR_TEST, true);
        m_gl.Scissor(static_cast<int>(x1), glY, static_cast<int>(x2 - x1), static_cast<int>(y2 - y1));
        glClear(mask);
    };
    if (mask != 0) {
        if (count == 0 || !rects)
            clearRect(vx1, vy1, vx2, vy2);
        for (DWORD i = 0; rects && i < count; ++i)
            clearRect(rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2);
    }
    m_gl.Enable(GL_SCISSOR_TEST, false);
    m_dirty |= d3d8dirty::kBlend | d3d8dirty::kDepth | d3d8dirty::kStencil;
    MarkTargetRendered();
}

void CGLRenderer8::BeforePresent() {
    if (!m_deletions.empty())
        FlushDeletions();
    m_gl.BindFramebuffer(m_device.BackBufferFramebufferName());
    m_dirty |= d3d8dirty::kTarget;
}
