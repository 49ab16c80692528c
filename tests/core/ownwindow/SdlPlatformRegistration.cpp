// These tests play in the engine's own window, which the host provides: like
// the player, the test program registers SDL's window, settings dialog and
// display modes before any test runs.

#include "platform/sdl/SdlPlatform.h"

namespace {

const bool kSdlPlatformRegistered = (RegisterSdlPlatform(), true);

}  // namespace
