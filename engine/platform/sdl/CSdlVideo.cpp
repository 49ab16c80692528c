#include "platform/sdl/CSdlVideo.h"

#include <map>
#include <vector>

namespace {

struct VideoState {
    std::mutex startMutex;
    bool started = false;

    std::mutex sinkMutex;
    std::map<std::uint32_t, CSdlVideo::IEventSink*> sinks;

    std::mutex glAttributeMutex;
};

VideoState& State() {
    static VideoState state;
    return state;
}

// The window an event belongs to, or 0 for events of the whole application.
std::uint32_t WindowIdOf(const SDL_Event& event) {
    switch (event.type) {
    case SDL_WINDOWEVENT:
        return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return event.key.windowID;
    case SDL_TEXTINPUT:
        return event.text.windowID;
    case SDL_TEXTEDITING:
        return event.edit.windowID;
    case SDL_MOUSEMOTION:
        return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return event.button.windowID;
    case SDL_MOUSEWHEEL:
        return event.wheel.windowID;
    default:
        return 0;
    }
}

}  // namespace

bool CSdlVideo::Start(std::string* error) {
    VideoState& state = State();
    std::lock_guard lock(state.startMutex);
    if (state.started)
        return true;
    // The engine ends a run on WM_CLOSE of its own window; SDL must not add
    // an application-wide quit when that window closes.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error)
            *error = SDL_GetError();
        return false;
    }
    state.started = true;
    return true;
}

void CSdlVideo::AddSink(std::uint32_t windowId, IEventSink& sink) {
    VideoState& state = State();
    std::lock_guard lock(state.sinkMutex);
    state.sinks[windowId] = &sink;
}

void CSdlVideo::RemoveSink(std::uint32_t windowId) {
    VideoState& state = State();
    std::lock_guard lock(state.sinkMutex);
    state.sinks.erase(windowId);
}

void CSdlVideo::DispatchEvents() {
    VideoState& state = State();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        // Sinks are called with the lock held, so a window cannot be removed
        // (and destroyed) while its sink runs; sinks must not add or remove.
        std::lock_guard lock(state.sinkMutex);
        if (event.type == SDL_QUIT) {
            // A termination request (SIGTERM from a screensaver daemon, the
            // session ending) closes every window.
            for (auto& [id, sink] : state.sinks)
                sink->OnSdlEvent(event);
            continue;
        }
        const auto found = state.sinks.find(WindowIdOf(event));
        if (found != state.sinks.end())
            found->second->OnSdlEvent(event);
    }
}

void CSdlVideo::ApplyGlAttributes() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_FORWARD_COMPATIBLE_FLAG);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // Each window has its own context; nothing is shared between them.
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
}

std::unique_lock<std::mutex> CSdlVideo::GlAttributeLock() {
    return std::unique_lock(State().glAttributeMutex);
}
