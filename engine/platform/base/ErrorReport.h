#pragma once
// One hook for every message box the engine shows (CTools::Error,
// AfxMessageBox, MessageBoxA, importer errors). Hosts install a handler: the
// editor shows a dialog, the player an SDL message box, tests collect the
// texts. Without a handler the text goes to stderr. Reporting is thread-safe:
// the render thread reports too, and the handler runs on the reporting thread.

#include <functional>
#include <string>

#include "platform/base/WinTypes.h"

enum class ErrorIcon {
    Error,
    Warning,
    Information
};

using ErrorReportHandler = std::function<void(const std::string& text, const std::string& title, ErrorIcon icon)>;

void ReportError(const std::string& text, const std::string& title = "", ErrorIcon icon = ErrorIcon::Error);

// Installs handler (an empty one restores the stderr default) and returns the
// handler that was installed before (empty when it was the default).
ErrorReportHandler SetErrorReportHandler(ErrorReportHandler handler);

// Message box styles and results (same values as on Windows).
constexpr UINT MB_OK = 0x00000000u;
constexpr UINT MB_OKCANCEL = 0x00000001u;
constexpr UINT MB_YESNO = 0x00000004u;
constexpr UINT MB_ICONHAND = 0x00000010u;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020u;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030u;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040u;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0u;
constexpr int IDOK = 1;

// Report text through the hook; the icon bits of type choose the ErrorIcon
// (no icon bits: Information). Both return IDOK.
int MessageBoxA(HWND window, LPCSTR text, LPCSTR caption, UINT type);
int AfxMessageBox(LPCSTR text, UINT type = MB_OK);
