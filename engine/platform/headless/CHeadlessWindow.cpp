#include "platform/headless/CHeadlessWindow.h"

#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <cstring>

#ifndef EGL_PLATFORM_SURFACELESS_MESA
#define EGL_PLATFORM_SURFACELESS_MESA 0x31DD
#endif

struct CHeadlessWindow::SContext {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    GLuint framebuffer = 0;
    GLuint colour = 0;
    GLuint depthStencil = 0;
};

namespace {

EGLDisplay OpenSurfacelessDisplay() {
    // Initialising an already initialised display is harmless; the display is
    // shared by every headless window of the process and never terminated,
    // since terminating it would pull the rug from under other windows.
    EGLDisplay display = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY)
        return EGL_NO_DISPLAY;
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor))
        return EGL_NO_DISPLAY;
    return display;
}

}  // namespace

CHeadlessWindow::CHeadlessWindow(int width, int height)
    : m_width(width > 0 ? width : 1), m_height(height > 0 ? height : 1) {}

CHeadlessWindow::~CHeadlessWindow() {
    if (m_context)
        DestroyContext();
}

bool CHeadlessWindow::CreateContext() {
    if (m_context)
        return MakeCurrent();
    auto context = std::make_unique<SContext>();
    context->display = OpenSurfacelessDisplay();
    if (context->display == EGL_NO_DISPLAY) {
        std::fprintf(stderr, "headless: no EGL surfaceless display\n");
        return false;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        std::fprintf(stderr, "headless: EGL cannot bind OpenGL\n");
        return false;
    }
    const EGLint attributes[] = {
        EGL_CONTEXT_MAJOR_VERSION,           3,       EGL_CONTEXT_MINOR_VERSION, 3, EGL_CONTEXT_OPENGL_PROFILE_MASK,
        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    context->context = eglCreateContext(context->display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context->context == EGL_NO_CONTEXT) {
        std::fprintf(stderr, "headless: cannot create an OpenGL 3.3 core context (EGL error 0x%x)\n", eglGetError());
        return false;
    }
    m_context = std::move(context);
    if (!MakeCurrent() || !CreateFramebuffer()) {
        DestroyContext();
        return false;
    }
    return true;
}

bool CHeadlessWindow::CreateFramebuffer() {
    glGenRenderbuffers(1, &m_context->colour);
    glGenRenderbuffers(1, &m_context->depthStencil);
    AllocateRenderbuffers();
    glGenFramebuffers(1, &m_context->framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_context->framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_context->colour);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, m_context->depthStencil);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!complete)
        std::fprintf(stderr, "headless: back buffer framebuffer incomplete\n");
    return complete;
}

void CHeadlessWindow::AllocateRenderbuffers() {
    GLint previous = 0;
    glGetIntegerv(GL_RENDERBUFFER_BINDING, &previous);
    glBindRenderbuffer(GL_RENDERBUFFER, m_context->colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, m_width, m_height);
    glBindRenderbuffer(GL_RENDERBUFFER, m_context->depthStencil);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, m_width, m_height);
    glBindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(previous));
}

void CHeadlessWindow::Resize(int width, int height) {
    m_width = width > 0 ? width : 1;
    m_height = height > 0 ? height : 1;
    // The framebuffer keeps its name: the attachments simply grow or shrink.
    if (m_context && eglGetCurrentContext() == m_context->context)
        AllocateRenderbuffers();
}

bool CHeadlessWindow::MakeCurrent() {
    if (!m_context)
        return false;
    return eglMakeCurrent(m_context->display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context->context) == EGL_TRUE;
}

void CHeadlessWindow::DestroyContext() {
    if (!m_context)
        return;
    if (eglGetCurrentContext() == m_context->context) {
        const GLuint renderbuffers[] = {m_context->colour, m_context->depthStencil};
        glDeleteFramebuffers(1, &m_context->framebuffer);
        glDeleteRenderbuffers(2, renderbuffers);
        eglMakeCurrent(m_context->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    if (m_context->context != EGL_NO_CONTEXT)
        eglDestroyContext(m_context->display, m_context->context);
    m_context.reset();
}

void CHeadlessWindow::Present() {
    if (m_context)
        glFlush();
    ++m_presentCount;
}

unsigned int CHeadlessWindow::BackBufferFramebuffer() const {
    return m_context ? m_context->framebuffer : 0;
}

SIZE CHeadlessWindow::GetClientSize() const {
    return SIZE{m_width.load(), m_height.load()};
}

std::vector<std::uint32_t> CHeadlessWindow::ReadPixelsARGB() const {
    if (!m_context)
        return {};
    const int width = m_width;
    const int height = m_height;
    std::vector<std::uint32_t> bottomUp(static_cast<size_t>(width) * height);
    GLint previous = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_context->framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // BGRA bytes read as one little-endian word are 0xAARRGGBB.
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, bottomUp.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previous));
    std::vector<std::uint32_t> topDown(bottomUp.size());
    for (int row = 0; row < height; ++row)
        std::memcpy(&topDown[static_cast<size_t>(row) * width],
                    &bottomUp[static_cast<size_t>(height - 1 - row) * width], sizeof(std::uint32_t) * width);
    return topDown;
}
