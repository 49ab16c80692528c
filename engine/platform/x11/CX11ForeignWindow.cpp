#include "platform/x11/CX11ForeignWindow.h"

#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <utility>
#include <vector>

struct CX11ForeignWindow::SConnection {
    Display* display = nullptr;
    Window target = 0;
    Window child = 0;  // 0 when GL draws into the target itself
    Colormap childColormap = 0;
    bool root = false;

    ~SConnection() {
        if (display == nullptr)
            return;
        if (child != 0)
            XDestroyWindow(display, child);
        if (childColormap != 0)
            XFreeColormap(display, childColormap);
        XCloseDisplay(display);
    }
};

struct CX11ForeignWindow::SGlState {
    Display* display = nullptr;  // the render thread's own connection
    EGLDisplay egl = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;

    // The EGL display and its X connection stay until the process ends, as
    // the headless surface's display does: terminating it unloads Mesa's
    // driver under whatever it still holds, and a later window could be
    // handed the stale display of a reused connection address. They are
    // kept in a list so that they stay reachable.
    ~SGlState();
};

namespace {

std::mutex g_keptMutex;
std::vector<std::pair<Display*, EGLDisplay>>* g_keptConnections = new std::vector<std::pair<Display*, EGLDisplay>>();

// Xlib reports failed requests to one handler per process, and its default
// ends the program. A window that the daemon destroys while a frame is being
// drawn into it is normal for a screensaver: such errors are counted and the
// run ends through the window's DestroyNotify instead.
std::atomic<int> g_failedRequests{0};

int CountXError(Display* /*display*/, XErrorEvent* /*event*/) {
    ++g_failedRequests;
    return 0;
}

void InstallErrorHandler() {
    static std::once_flag installed;
    std::call_once(installed, [] { XSetErrorHandler(&CountXError); });
}

void SetError(std::string* error, const std::string& text) {
    if (error != nullptr)
        *error = text;
}

std::string WindowName(unsigned long id) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

EGLint ConfigValue(EGLDisplay display, EGLConfig config, EGLint attribute) {
    EGLint value = 0;
    eglGetConfigAttrib(display, config, attribute, &value);
    return value;
}

// How well a configuration serves the engine: 24-bit depth with stencil is
// what the device asks for; 16-bit depth still draws correctly.
int ConfigScore(EGLDisplay display, EGLConfig config) {
    const EGLint depth = ConfigValue(display, config, EGL_DEPTH_SIZE);
    const EGLint stencil = ConfigValue(display, config, EGL_STENCIL_SIZE);
    if (depth < 16)
        return -1;
    return (depth >= 24 ? 2 : 0) + (stencil >= 8 ? 1 : 0);
}

// The best window-capable OpenGL configuration; with visualId other than 0
// only those drawing with that X visual.
EGLConfig ChooseConfig(EGLDisplay display, EGLint visualId) {
    const EGLint wanted[] = {EGL_SURFACE_TYPE,
                             EGL_WINDOW_BIT,
                             EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_BIT,
                             EGL_RED_SIZE,
                             8,
                             EGL_GREEN_SIZE,
                             8,
                             EGL_BLUE_SIZE,
                             8,
                             EGL_NONE};
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, nullptr, 0, &count) || count <= 0)
        return nullptr;
    std::vector<EGLConfig> configs(static_cast<size_t>(count));
    eglChooseConfig(display, wanted, configs.data(), count, &count);
    EGLConfig best = nullptr;
    int bestScore = -1;
    for (EGLConfig config : configs) {
        const EGLint nativeVisual = ConfigValue(display, config, EGL_NATIVE_VISUAL_ID);
        if (nativeVisual == 0 || (visualId != 0 && nativeVisual != visualId))
            continue;
        const int score = ConfigScore(display, config);
        if (score > bestScore) {
            best = config;
            bestScore = score;
        }
    }
    return best;
}

}  // namespace

CX11ForeignWindow::SGlState::~SGlState() {
    if (display == nullptr)
        return;
    std::lock_guard lock(g_keptMutex);
    g_keptConnections->emplace_back(display, egl);
}

CX11ForeignWindow::CX11ForeignWindow() : m_host(std::make_unique<SConnection>()), m_gl(std::make_unique<SGlState>()) {}

CX11ForeignWindow::~CX11ForeignWindow() {
    DestroyContext();
    // The child window goes with the host connection; EGL and the render
    // connection stay (SGlState).
    m_gl.reset();
    m_host.reset();
}

std::unique_ptr<CX11ForeignWindow> CX11ForeignWindow::Create(unsigned long windowId, std::string* error) {
    return Open(windowId, false, error);
}

std::unique_ptr<CX11ForeignWindow> CX11ForeignWindow::CreateForRoot(std::string* error) {
    return Open(0, true, error);
}

std::unique_ptr<CX11ForeignWindow> CX11ForeignWindow::Open(unsigned long windowId, bool root, std::string* error) {
    std::unique_ptr<CX11ForeignWindow> window(new CX11ForeignWindow());
    if (!window->Attach(windowId, root, error))
        return nullptr;
    return window;
}

bool CX11ForeignWindow::Attach(unsigned long windowId, bool root, std::string* error) {
    InstallErrorHandler();
    m_host->display = XOpenDisplay(nullptr);
    m_gl->display = XOpenDisplay(nullptr);
    if (m_host->display == nullptr || m_gl->display == nullptr) {
        SetError(error, "cannot open the X display (is DISPLAY set?)");
        return false;
    }
    Display* display = m_host->display;
    m_host->root = root;
    m_host->target = root ? DefaultRootWindow(display) : static_cast<Window>(windowId);

    XWindowAttributes attributes{};
    const int failedBefore = g_failedRequests.load();
    const Status found = XGetWindowAttributes(display, m_host->target, &attributes);
    XSync(display, False);
    if (found == 0 || g_failedRequests.load() != failedBefore) {
        SetError(error, "the X window " + WindowName(m_host->target) + " does not exist");
        return false;
    }
    m_width = attributes.width;
    m_height = attributes.height;

    m_gl->egl = eglGetPlatformDisplayEXT(EGL_PLATFORM_X11_KHR, m_gl->display, nullptr);
    EGLint major = 0, minor = 0;
    if (m_gl->egl == EGL_NO_DISPLAY || !eglInitialize(m_gl->egl, &major, &minor)) {
        m_gl->egl = EGL_NO_DISPLAY;
        SetError(error, "EGL cannot use the X display");
        return false;
    }
    const auto visualId = static_cast<EGLint>(XVisualIDFromVisual(attributes.visual));
    m_gl->config = ChooseConfig(m_gl->egl, visualId);
    if (m_gl->config == nullptr) {
        // The root window cannot be covered by a child without becoming a
        // new top-level window; any other window can.
        if (root) {
            SetError(error, "the root window's visual cannot be drawn with OpenGL");
            return false;
        }
        m_gl->config = ChooseConfig(m_gl->egl, 0);
        if (m_gl->config == nullptr ||
            !CreateChildWindow(ConfigValue(m_gl->egl, m_gl->config, EGL_NATIVE_VISUAL_ID), error)) {
            if (error != nullptr && error->empty())
                *error = "no OpenGL configuration can draw on this X display";
            return false;
        }
    }
    // Size changes and destruction only: input stays with the window's owner.
    XSelectInput(display, m_host->target, StructureNotifyMask);
    XSync(display, False);
    return true;
}

bool CX11ForeignWindow::CreateChildWindow(int visualId, std::string* error) {
    Display* display = m_host->display;
    XVisualInfo wanted{};
    wanted.visualid = static_cast<VisualID>(visualId);
    int count = 0;
    XVisualInfo* info = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
    if (info == nullptr || count < 1) {
        SetError(error, "the GL visual is not available on this X display");
        return false;
    }
    XWindowAttributes parent{};
    XGetWindowAttributes(display, m_host->target, &parent);
    m_host->childColormap = XCreateColormap(display, parent.root, info->visual, AllocNone);
    XSetWindowAttributes settings{};
    settings.colormap = m_host->childColormap;
    settings.background_pixmap = None;  // nothing flashes before the first frame
    settings.border_pixel = 0;
    // No event mask: key and pointer events pass on to the parent's owner.
    m_host->child = XCreateWindow(display, m_host->target, 0, 0, static_cast<unsigned>(std::max(1, parent.width)),
                                  static_cast<unsigned>(std::max(1, parent.height)), 0, info->depth, InputOutput,
                                  info->visual, CWColormap | CWBackPixmap | CWBorderPixel, &settings);
    XFree(info);
    XMapWindow(display, m_host->child);
    XSync(display, False);
    return m_host->child != 0;
}

// --- GL context ----------------------------------------------------------------

bool CX11ForeignWindow::CreateContext() {
    std::lock_guard lock(m_glMutex);
    if (m_gl->egl == EGL_NO_DISPLAY)
        return false;
    if (m_gl->context != EGL_NO_CONTEXT) {
        return eglMakeCurrent(m_gl->egl, m_gl->surface, m_gl->surface, m_gl->context) == EGL_TRUE;
    }
    if (!eglBindAPI(EGL_OPENGL_API))
        return false;
    const Window drawing = m_host->child != 0 ? m_host->child : m_host->target;
    m_gl->surface = eglCreateWindowSurface(m_gl->egl, m_gl->config, static_cast<EGLNativeWindowType>(drawing), nullptr);
    if (m_gl->surface == EGL_NO_SURFACE)
        return false;
    const EGLint attributes[] = {
        EGL_CONTEXT_MAJOR_VERSION,           3,       EGL_CONTEXT_MINOR_VERSION, 3, EGL_CONTEXT_OPENGL_PROFILE_MASK,
        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    m_gl->context = eglCreateContext(m_gl->egl, m_gl->config, EGL_NO_CONTEXT, attributes);
    if (m_gl->context == EGL_NO_CONTEXT) {
        eglDestroySurface(m_gl->egl, m_gl->surface);
        m_gl->surface = EGL_NO_SURFACE;
        return false;
    }
    return eglMakeCurrent(m_gl->egl, m_gl->surface, m_gl->surface, m_gl->context) == EGL_TRUE;
}

bool CX11ForeignWindow::MakeCurrent() {
    std::lock_guard lock(m_glMutex);
    if (m_gl->context == EGL_NO_CONTEXT)
        return false;
    return eglMakeCurrent(m_gl->egl, m_gl->surface, m_gl->surface, m_gl->context) == EGL_TRUE;
}

void CX11ForeignWindow::DestroyContext() {
    std::lock_guard lock(m_glMutex);
    if (m_gl == nullptr || m_gl->egl == EGL_NO_DISPLAY)
        return;
    if (m_gl->context != EGL_NO_CONTEXT || m_gl->surface != EGL_NO_SURFACE) {
        eglMakeCurrent(m_gl->egl, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    if (m_gl->context != EGL_NO_CONTEXT) {
        eglDestroyContext(m_gl->egl, m_gl->context);
        m_gl->context = EGL_NO_CONTEXT;
    }
    if (m_gl->surface != EGL_NO_SURFACE) {
        eglDestroySurface(m_gl->egl, m_gl->surface);
        m_gl->surface = EGL_NO_SURFACE;
    }
}

void CX11ForeignWindow::Present() {
    std::lock_guard lock(m_glMutex);
    if (m_gl->surface != EGL_NO_SURFACE && !m_vanished)
        eglSwapBuffers(m_gl->egl, m_gl->surface);
}

void CX11ForeignWindow::SetSwapInterval(int interval) {
    std::lock_guard lock(m_glMutex);
    if (m_gl->context != EGL_NO_CONTEXT)
        eglSwapInterval(m_gl->egl, interval < 0 ? 1 : interval);
}

// --- geometry and events --------------------------------------------------------

SIZE CX11ForeignWindow::GetClientSize() const {
    return SIZE{m_width.load(), m_height.load()};
}

unsigned long CX11ForeignWindow::TargetWindow() const {
    return m_host->target;
}

unsigned long CX11ForeignWindow::DrawingWindow() const {
    return m_host->child != 0 ? m_host->child : m_host->target;
}

bool CX11ForeignWindow::UsesChildWindow() const {
    return m_host->child != 0;
}

void CX11ForeignWindow::ResizeTo(int width, int height) {
    m_width = width;
    m_height = height;
    if (m_host->child != 0 && width > 0 && height > 0) {
        XResizeWindow(m_host->display, m_host->child, static_cast<unsigned>(width), static_cast<unsigned>(height));
        XFlush(m_host->display);
    }
}

void CX11ForeignWindow::PumpEvents() {
    Display* display = m_host->display;
    if (display == nullptr)
        return;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == ConfigureNotify && event.xconfigure.window == m_host->target) {
            ResizeTo(event.xconfigure.width, event.xconfigure.height);
        } else if (event.type == DestroyNotify && event.xdestroywindow.window == m_host->target) {
            // The child went with it; nothing may draw into either again.
            m_vanished = true;
            m_host->child = 0;
            QueueMessage(MSG{this, WM_DESTROY, 0, 0});
        }
    }
}
