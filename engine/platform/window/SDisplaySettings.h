#pragma once
// What the engine's settings dialog edits: the full-screen resolution, the
// colour depth, full screen or windowed, and the logo switch.

struct SDisplaySettings {
    int resolution = 0;  // 0 640 x 480, 1 800 x 600, 2 1024 x 768, 3 1280 x 1024, 4 1600 x 1200
    int colorDepth = 1;  // 0: 16 bits, 1: 32 bits
    bool fullscreen = false;
    bool viewInfo = true;  // the logo and the version banner
};
