#pragma once
// What a host hands to CScreen::Display: its frame loop. Run is called once on
// the render thread after Direct3D, the overlay font and the input devices
// exist. A typical loop:
//
//   while (screen.IsRunning()) {
//       screen.GetTickCount();
//       screen.BeginScene(true);
//       scene.Render();
//       screen.EndScene(true);
//   }
//
// Run should return soon after IsRunning() turns false; the render thread
// then cleans up and posts WM_CLOSE to the output window.

class CScreenListener {
public:
    virtual ~CScreenListener() = default;
    virtual void Run() = 0;
};
