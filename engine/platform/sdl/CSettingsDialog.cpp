#include "platform/sdl/CSettingsDialog.h"

#include <SDL.h>
#include <epoxy/gl.h>
#include <imgui.h>
#include <imgui_impl_opengl3.h>
#include <imgui_impl_sdl.h>

#include <utility>
#include <vector>

#include "platform/sdl/CSdlVideo.h"

namespace {

constexpr const char* kTitle = "Lumivexis settings";
constexpr int kWindowWidth = 340;
constexpr int kWindowHeight = 230;
constexpr int kIdleWaitMs = 16;

// The dialog's own window and GL context, current on the calling thread
// while the dialog runs; whatever was current before is current again after.
class DialogSurface {
public:
    bool Open(std::string* error) {
        m_previousWindow = SDL_GL_GetCurrentWindow();
        m_previousContext = SDL_GL_GetCurrentContext();
        auto lock = CSdlVideo::GlAttributeLock();
        CSdlVideo::ApplyGlAttributes();
        m_window = SDL_CreateWindow(kTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWindowWidth, kWindowHeight,
                                    SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
        if (m_window)
            m_context = SDL_GL_CreateContext(m_window);
        if (!m_window || !m_context) {
            if (error)
                *error = SDL_GetError();
            return false;
        }
        SDL_GL_MakeCurrent(m_window, m_context);
        SDL_GL_SetSwapInterval(1);
        return true;
    }

    ~DialogSurface() {
        if (m_context)
            SDL_GL_DeleteContext(m_context);
        if (m_window)
            SDL_DestroyWindow(m_window);
        SDL_GL_MakeCurrent(m_previousWindow, m_previousContext);
    }

    SDL_Window* Window() const { return m_window; }
    SDL_GLContext Context() const { return m_context; }

private:
    SDL_Window* m_previousWindow = nullptr;
    SDL_GLContext m_previousContext = nullptr;
    SDL_Window* m_window = nullptr;
    SDL_GLContext m_context = nullptr;
};

// A Dear ImGui context with its SDL and OpenGL back ends for one window.
class ImGuiSession {
public:
    ImGuiSession(SDL_Window* window, SDL_GLContext context) {
        m_previous = ImGui::GetCurrentContext();
        m_context = ImGui::CreateContext();
        ImGui::SetCurrentContext(m_context);
        ImGuiIO& io = ImGui::GetIO();
        io.IniFilename = nullptr;  // the dialog has no layout to remember
        io.LogFilename = nullptr;
        io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
        ImGui::StyleColorsLight();
        m_platform = ImGui_ImplSDL2_InitForOpenGL(window, context);
        m_renderer = m_platform && ImGui_ImplOpenGL3_Init("#version 330 core");
    }

    ~ImGuiSession() {
        if (m_renderer)
            ImGui_ImplOpenGL3_Shutdown();
        if (m_platform)
            ImGui_ImplSDL2_Shutdown();
        ImGui::DestroyContext(m_context);
        ImGui::SetCurrentContext(m_previous);
    }

    bool IsReady() const { return m_platform && m_renderer; }

private:
    ImGuiContext* m_previous = nullptr;
    ImGuiContext* m_context = nullptr;
    bool m_platform = false;
    bool m_renderer = false;
};

// Collects the events SDL routes to the dialog's window.
class EventCollector final : public CSdlVideo::IEventSink {
public:
    void OnSdlEvent(const SDL_Event& event) override { m_events.push_back(event); }
    std::vector<SDL_Event> Take() { return std::exchange(m_events, {}); }

private:
    std::vector<SDL_Event> m_events;
};

bool IsKeyDown(const SDL_Event& event, SDL_Scancode scancode) {
    return event.type == SDL_KEYDOWN && event.key.keysym.scancode == scancode;
}

// The keys and window events a Windows dialog answers itself: Enter presses
// the default button (OK), Escape and closing the window cancel.
void HandleDialogEvent(const SDL_Event& event, CSettingsDialogModel& model) {
    if (IsKeyDown(event, SDL_SCANCODE_RETURN) || IsKeyDown(event, SDL_SCANCODE_KP_ENTER))
        model.Accept();
    if (IsKeyDown(event, SDL_SCANCODE_ESCAPE))
        model.Cancel();
    if (event.type == SDL_QUIT)
        model.Cancel();
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)
        model.Cancel();
}

// A framed group of controls with a caption, like a dialog's group box.
template <typename Controls>
void GroupBox(const char* caption, float width, int rows, Controls&& controls) {
    const ImGuiStyle& style = ImGui::GetStyle();
    const float height =
        ImGui::GetTextLineHeightWithSpacing() + rows * ImGui::GetFrameHeightWithSpacing() + 2 * style.WindowPadding.y;
    // Flattened: the keyboard moves between the groups' controls as in a dialog.
    ImGui::BeginChild(caption, ImVec2(width, height), true,
                      ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NavFlattened);
    ImGui::TextUnformatted(caption);
    controls();
    ImGui::EndChild();
}

void DrawControls(CSettingsDialogModel& model) {
    const SDisplaySettings& values = model.Values();
    const float columnWidth = (ImGui::GetContentRegionAvail().x - ImGui::GetStyle().ItemSpacing.x) / 2;
    const int resolutionRows = static_cast<int>(CSettingsDialogModel::kResolutionLabels.size());

    GroupBox("Resolution", columnWidth, resolutionRows, [&] {
        for (int i = 0; i < resolutionRows; ++i) {
            if (ImGui::RadioButton(CSettingsDialogModel::kResolutionLabels[static_cast<std::size_t>(i)],
                                   values.resolution == i))
                model.SelectResolution(i);
        }
    });
    ImGui::SameLine();
    ImGui::BeginGroup();
    const int colorRows = static_cast<int>(CSettingsDialogModel::kColorLabels.size());
    GroupBox("Colors", columnWidth, colorRows, [&] {
        for (int i = 0; i < colorRows; ++i) {
            if (ImGui::RadioButton(CSettingsDialogModel::kColorLabels[static_cast<std::size_t>(i)],
                                   values.colorDepth == i))
                model.SelectColorDepth(i);
        }
    });
    bool fullscreen = values.fullscreen;
    if (ImGui::Checkbox("Fullscreen", &fullscreen))
        model.SetFullscreen(fullscreen);
    bool viewInfo = values.viewInfo;
    if (ImGui::Checkbox("Show Logo & Infos", &viewInfo))
        model.SetViewInfo(viewInfo);
    ImGui::EndGroup();
}

void DrawButtons(CSettingsDialogModel& model) {
    const ImGuiStyle& style = ImGui::GetStyle();
    const ImVec2 buttonSize(80, 0);
    const float rowWidth = 2 * buttonSize.x + style.ItemSpacing.x;
    ImGui::SetCursorPosX(ImGui::GetWindowWidth() - rowWidth - style.WindowPadding.x);
    ImGui::SetCursorPosY(ImGui::GetWindowHeight() - ImGui::GetFrameHeight() - style.WindowPadding.y);
    if (ImGui::Button("OK", buttonSize))
        model.Accept();
    ImGui::SameLine();
    if (ImGui::Button("Cancel", buttonSize))
        model.Cancel();
}

void DrawFrame(SDL_Window* window, CSettingsDialogModel& model) {
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(io.DisplaySize);
    ImGui::Begin(kTitle, nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings);
    DrawControls(model);
    DrawButtons(model);
    ImGui::End();
    ImGui::Render();

    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    glViewport(0, 0, width, height);
    const ImVec4 background = ImGui::GetStyle().Colors[ImGuiCol_WindowBg];
    glClearColor(background.x, background.y, background.z, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
    SDL_GL_SwapWindow(window);
}

CSettingsDialog::FrameObserver& DefaultFrameObserver() {
    static CSettingsDialog::FrameObserver observer;
    return observer;
}

}  // namespace

CSettingsDialog::CSettingsDialog() : m_frameObserver(DefaultFrameObserver()) {}

void CSettingsDialog::SetDefaultFrameObserver(FrameObserver observer) {
    DefaultFrameObserver() = std::move(observer);
}

bool CSettingsDialog::Run(Settings& inOut, std::string* error) {
    if (!CSdlVideo::Start(error))
        return false;
    DialogSurface surface;
    if (!surface.Open(error))
        return false;
    ImGuiSession imgui(surface.Window(), surface.Context());
    if (!imgui.IsReady()) {
        if (error)
            *error = "the dialog's user interface could not be set up";
        return false;
    }

    const std::uint32_t windowId = SDL_GetWindowID(surface.Window());
    EventCollector events;
    CSdlVideo::AddSink(windowId, events);
    CSettingsDialogModel model(inOut);
    for (int frame = 0; !model.IsFinished(); ++frame) {
        CSdlVideo::DispatchEvents();
        const std::vector<SDL_Event> pending = events.Take();
        for (const SDL_Event& event : pending) {
            ImGui_ImplSDL2_ProcessEvent(&event);
            HandleDialogEvent(event, model);
        }
        if (model.IsFinished())
            break;
        DrawFrame(surface.Window(), model);
        if (m_frameObserver)
            m_frameObserver(windowId, frame);
        if (pending.empty())
            SDL_WaitEventTimeout(nullptr, kIdleWaitMs);
    }
    CSdlVideo::RemoveSink(windowId);
    return model.CommitTo(inOut);
}
