#pragma once
// SDL's video subsystem, shared by every SDL window of the process: starts it
// once, hands the GL attributes to SDL under one lock (they are global in
// SDL) and routes SDL's single event queue to the window each event is for.
//
// Threads: SDL's events are read on the thread that first started the video
// subsystem (the host thread); DispatchEvents must be called there.

#include <SDL.h>

#include <cstdint>
#include <mutex>
#include <string>

class CSdlVideo {
public:
    // Receives the events of one window (and SDL_QUIT, which every window gets).
    class IEventSink {
    public:
        virtual void OnSdlEvent(const SDL_Event& event) = 0;

    protected:
        ~IEventSink() = default;
    };

    // Starts the video subsystem on first use. Returns false, with SDL's
    // reason in error, when no display can be opened; a later call tries again.
    static bool Start(std::string* error = nullptr);

    static void AddSink(std::uint32_t windowId, IEventSink& sink);
    static void RemoveSink(std::uint32_t windowId);

    // Reads every pending SDL event and hands it to its window's sink.
    static void DispatchEvents();

    // Sets the OpenGL 3.3 core profile, 24-bit depth, 8-bit stencil, double
    // buffered attributes. Hold GlAttributeLock() from here until the window
    // or context that needs them has been created.
    static void ApplyGlAttributes();
    static std::unique_lock<std::mutex> GlAttributeLock();
};
