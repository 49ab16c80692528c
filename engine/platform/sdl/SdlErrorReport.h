#pragma once
// The error-report handler of SDL hosts (the player): every report becomes a
// modal SDL message box with the matching icon. Without a display (no X
// server, no Wayland compositor) the text goes to stderr instead.

#include <string>

#include "platform/base/ErrorReport.h"

// Installs the handler and returns the one installed before. Reports without
// a title use defaultTitle.
ErrorReportHandler InstallSdlErrorReportHandler(const std::string& defaultTitle = "Lumivexis");
