#pragma once
// What every example shares: it plays its scene in the engine's own SDL
// window when there is a display (Escape or closing the window ends it), or
// off screen, and can write its last frame as a PNG image:
//
//   example [--frames N] [--screenshot FILE.png]
//
// Off screen (no $DISPLAY, or --frames with --screenshot and no display) the
// frames are drawn on the headless surface with a scene clock that advances
// exactly 1/25 s per frame, so that a screenshot after N frames always shows
// the scene at N/25 s. In a window the clock is the real one.
//
// An example hands in its scene as three functions, all called on the render
// thread: Start after the device exists (create and set up objects), Frame
// between BeginScene and EndScene of every frame (draw), and Stop before the
// device goes (destroy the objects).
//
//   CExampleHost host("particles", "A fountain and a fire.");
//   return host.Run(argc, argv, scene);

#include <functional>
#include <string>

class CExampleScene {
public:
    virtual ~CExampleScene() = default;
    virtual bool Start() = 0;
    virtual void Frame(int frame, float seconds) = 0;
    virtual void Stop() = 0;
};

class CExampleHost {
public:
    CExampleHost(std::string name, std::string description);

    // Returns the exit status: 0 done, 1 the engine or the screenshot failed,
    // 2 a usage error.
    int Run(int argc, char** argv, CExampleScene& scene);

    // A file of the media folder that lies beside the program, e.g.
    // MediaPath("sprites/particle.png").
    static std::string MediaPath(const std::string& relative);

    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    static constexpr float kHeadlessFrameSeconds = 1.0f / 25.0f;

private:
    bool ParseArguments(int argc, char** argv);
    bool RunFrames(CExampleScene& scene, bool headless);

    std::string m_name;
    std::string m_description;
    int m_frames = 0;  // 0: until the window closes (a window), 100 (headless)
    std::string m_screenshot;
    std::string m_error;
};
