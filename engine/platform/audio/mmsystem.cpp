#include "platform/audio/mmsystem.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/audio/CMciCommandParser.h"
#include "platform/audio/CMciDeviceTable.h"
#include "platform/audio/CMciErrorTexts.h"

namespace {

// Copies text with its terminator into a buffer of length > 0 bytes; false
// (and an empty buffer) when it does not fit.
bool CopyResult(const std::string& text, LPSTR buffer, UINT length) {
    if (text.size() >= length) {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

}  // namespace

MCIERROR mciSendStringA(LPCSTR command, LPSTR returnString, UINT returnLength, HWND /*callback*/) {
    if (returnString && returnLength > 0) {
        returnString[0] = '\0';
    }
    if (!command) {
        return MCIERR_MISSING_COMMAND_STRING;
    }
    SMciCommand parsed;
    if (MCIERROR error = CMciCommandParser::Parse(command, parsed)) {
        return error;
    }
    std::string result;
    if (MCIERROR error = CMciDeviceTable::Instance().Execute(parsed, result)) {
        return error;
    }
    // A caller that passes no buffer simply does not get the value.
    if (returnString && returnLength > 0 && !CopyResult(result, returnString, returnLength)) {
        return MCIERR_PARAM_OVERFLOW;
    }
    return MMSYSERR_NOERROR;
}

BOOL mciGetErrorStringA(MCIERROR error, LPSTR buffer, UINT length) {
    if (!buffer || length == 0) {
        return FALSE;
    }
    const char* text = CMciErrorTexts::Find(error);
    if (!text) {
        buffer[0] = '\0';
        return FALSE;
    }
    const size_t count = std::min<size_t>(std::strlen(text), length - 1);
    std::memcpy(buffer, text, count);
    buffer[count] = '\0';
    return TRUE;
}
