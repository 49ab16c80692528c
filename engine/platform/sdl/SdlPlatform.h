#pragma once
// Registers SDL's implementations with the engine: the engine's own window
// (CSdlWindow), the "Lumivexis settings" dialog (CSettingsDialog, Dear ImGui)
// and the display's real modes. Hosts that play in a window of the engine's
// own (the player) call it once before the first run.

void RegisterSdlPlatform();
