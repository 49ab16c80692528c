#pragma once
// The Windows multimedia command-string interface, as far as the engine uses
// it: music files are opened, played, paused, resumed, stopped and closed by
// sending MCI command strings, and failures come back as MCI error codes whose
// texts mciGetErrorStringA supplies. Playback runs on SDL2_mixer.
//
// Accepted commands (keywords case-insensitive, paths may be double-quoted):
//   open <file> [type mpegvideo] [alias <name>]
//   play <device> [from <ms>]
//   pause <device> | resume <device> | stop <device> | close <device>|all
//   status <device> mode|position|length     ("playing"/"paused"/"stopped", ms)
// Every call is serialised: commands may come from any thread.

#include "platform/base/WinTypes.h"

using MCIERROR = DWORD;

// The longest error text mciGetErrorStringA returns, terminator included.
constexpr UINT MAXERRORLENGTH = 128;

constexpr MCIERROR MMSYSERR_NOERROR = 0;
constexpr MCIERROR MCIERR_BASE = 256;
constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = MCIERR_BASE + 1;
constexpr MCIERROR MCIERR_UNRECOGNIZED_KEYWORD = MCIERR_BASE + 3;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
constexpr MCIERROR MCIERR_HARDWARE = MCIERR_BASE + 6;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
constexpr MCIERROR MCIERR_OUT_OF_MEMORY = MCIERR_BASE + 8;
constexpr MCIERROR MCIERR_DEVICE_OPEN = MCIERR_BASE + 9;
constexpr MCIERROR MCIERR_CANNOT_LOAD_DRIVER = MCIERR_BASE + 10;
constexpr MCIERROR MCIERR_MISSING_COMMAND_STRING = MCIERR_BASE + 11;
constexpr MCIERROR MCIERR_PARAM_OVERFLOW = MCIERR_BASE + 12;
constexpr MCIERROR MCIERR_MISSING_STRING_ARGUMENT = MCIERR_BASE + 13;
constexpr MCIERROR MCIERR_BAD_INTEGER = MCIERR_BASE + 14;
constexpr MCIERROR MCIERR_PARSER_INTERNAL = MCIERR_BASE + 15;
constexpr MCIERROR MCIERR_DRIVER_INTERNAL = MCIERR_BASE + 16;
constexpr MCIERROR MCIERR_MISSING_PARAMETER = MCIERR_BASE + 17;
constexpr MCIERROR MCIERR_UNSUPPORTED_FUNCTION = MCIERR_BASE + 18;
constexpr MCIERROR MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
constexpr MCIERROR MCIERR_DEVICE_NOT_READY = MCIERR_BASE + 20;
constexpr MCIERROR MCIERR_INTERNAL = MCIERR_BASE + 21;
constexpr MCIERROR MCIERR_DRIVER = MCIERR_BASE + 22;
constexpr MCIERROR MCIERR_CANNOT_USE_ALL = MCIERR_BASE + 23;
constexpr MCIERROR MCIERR_MULTIPLE = MCIERR_BASE + 24;
constexpr MCIERROR MCIERR_EXTENSION_NOT_FOUND = MCIERR_BASE + 25;
constexpr MCIERROR MCIERR_OUTOFRANGE = MCIERR_BASE + 26;
constexpr MCIERROR MCIERR_FLAGS_NOT_COMPATIBLE = MCIERR_BASE + 28;
constexpr MCIERROR MCIERR_FILE_NOT_SAVED = MCIERR_BASE + 30;
constexpr MCIERROR MCIERR_DEVICE_TYPE_REQUIRED = MCIERR_BASE + 31;
constexpr MCIERROR MCIERR_DEVICE_LOCKED = MCIERR_BASE + 32;
constexpr MCIERROR MCIERR_DUPLICATE_ALIAS = MCIERR_BASE + 33;
constexpr MCIERROR MCIERR_BAD_CONSTANT = MCIERR_BASE + 34;
constexpr MCIERROR MCIERR_MUST_USE_SHAREABLE = MCIERR_BASE + 35;
constexpr MCIERROR MCIERR_MISSING_DEVICE_NAME = MCIERR_BASE + 36;
constexpr MCIERROR MCIERR_BAD_TIME_FORMAT = MCIERR_BASE + 37;
constexpr MCIERROR MCIERR_NO_CLOSING_QUOTE = MCIERR_BASE + 38;
constexpr MCIERROR MCIERR_DUPLICATE_FLAGS = MCIERR_BASE + 39;
constexpr MCIERROR MCIERR_INVALID_FILE = MCIERR_BASE + 40;
constexpr MCIERROR MCIERR_NULL_PARAMETER_BLOCK = MCIERR_BASE + 41;
constexpr MCIERROR MCIERR_UNNAMED_RESOURCE = MCIERR_BASE + 42;
constexpr MCIERROR MCIERR_NEW_REQUIRES_ALIAS = MCIERR_BASE + 43;
constexpr MCIERROR MCIERR_NOTIFY_ON_AUTO_OPEN = MCIERR_BASE + 44;
constexpr MCIERROR MCIERR_NO_ELEMENT_ALLOWED = MCIERR_BASE + 45;
constexpr MCIERROR MCIERR_NONAPPLICABLE_FUNCTION = MCIERR_BASE + 46;
constexpr MCIERROR MCIERR_ILLEGAL_FOR_AUTO_OPEN = MCIERR_BASE + 47;
constexpr MCIERROR MCIERR_FILENAME_REQUIRED = MCIERR_BASE + 48;
constexpr MCIERROR MCIERR_EXTRA_CHARACTERS = MCIERR_BASE + 49;
constexpr MCIERROR MCIERR_DEVICE_NOT_INSTALLED = MCIERR_BASE + 50;

// Carries out one command string. Values a command returns (status) are
// written to returnString, NUL-terminated; MCIERR_PARAM_OVERFLOW when they do
// not fit in returnLength bytes. Commands without a value leave an empty
// string there. returnString may be null. callback is accepted and unused
// (no "notify" support).
MCIERROR mciSendStringA(LPCSTR command, LPSTR returnString, UINT returnLength, HWND callback);

// Copies the text of an MCI error code into buffer, truncated to length − 1
// characters and always NUL-terminated. FALSE for an unknown code (buffer then
// holds an empty string), a null buffer or a zero length.
BOOL mciGetErrorStringA(MCIERROR error, LPSTR buffer, UINT length);
