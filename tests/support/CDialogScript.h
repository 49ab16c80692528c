#pragma once
// Plays the user of an open settings dialog: presses the keys of a script
// frame by frame (or closes the window), and closes the dialog itself, with
// a test failure, when it outlives the script by far.
//
//   CDialogScript script({{3, SDL_SCANCODE_RETURN}});
//   dialog.SetFrameObserver(script.Observer());

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/sdl/CSettingsDialog.h"

// One key press: down at one frame, up two frames later (the user interface
// samples keys once per frame).
struct ScriptedKey {
    int frame;
    SDL_Scancode key;
};

class CDialogScript {
public:
    explicit CDialogScript(std::vector<ScriptedKey> keys, bool closeWindow = false)
        : m_keys(std::move(keys)), m_closeWindow(closeWindow) {
        for (const ScriptedKey& step : m_keys)
            m_lastFrame = std::max(m_lastFrame, step.frame);
    }

    CSettingsDialog::FrameObserver Observer() {
        return [this](std::uint32_t windowId, int frame) { OnFrame(windowId, frame); };
    }
    // Whether the dialog stayed open until the last scripted key.
    bool Done() const { return m_done; }
    const std::string& Title() const { return m_title; }

private:
    void OnFrame(std::uint32_t windowId, int frame) {
        if (SDL_Window* window = SDL_GetWindowFromID(windowId))
            m_title = SDL_GetWindowTitle(window);
        for (const ScriptedKey& step : m_keys) {
            if (frame == step.frame)
                PushKey(windowId, SDL_KEYDOWN, step.key);
            if (frame == step.frame + 2)
                PushKey(windowId, SDL_KEYUP, step.key);
        }
        if (m_closeWindow && frame == kFirstFrame)
            PushClose(windowId);
        m_done = frame >= m_lastFrame;
        if (frame > m_lastFrame + 100) {
            ADD_FAILURE() << "the dialog did not end";
            PushClose(windowId);
        }
    }

    static void PushKey(std::uint32_t windowId, std::uint32_t type, SDL_Scancode key) {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = windowId;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.scancode = key;
        event.key.keysym.sym = SDL_GetKeyFromScancode(key);
        SDL_PushEvent(&event);
    }

    static void PushClose(std::uint32_t windowId) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = windowId;
        event.window.event = SDL_WINDOWEVENT_CLOSE;
        SDL_PushEvent(&event);
    }

    static constexpr int kFirstFrame = 3;  // the dialog has been drawn by then
    std::vector<ScriptedKey> m_keys;
    bool m_closeWindow;
    int m_lastFrame = kFirstFrame;
    bool m_done = false;
    std::string m_title;
};
