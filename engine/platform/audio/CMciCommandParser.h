#pragma once
// Turns an MCI command string into a command record. Keywords are matched
// case-insensitively; values may be enclosed in double quotes so that they
// can hold blanks (file paths). Only the command shapes listed in mmsystem.h
// are understood; anything else is refused with the MCI error a Windows
// system would give for it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio/mmsystem.h"

enum class TMciVerb {
    Open,
    Play,
    Pause,
    Resume,
    Stop,
    Close,
    Status
};

enum class TMciStatusItem {
    Mode,
    Position,
    Length
};

struct SMciCommand {
    TMciVerb verb = TMciVerb::Stop;
    // The device the command addresses: its alias, or for "open" the file.
    std::string device;
    // "open": the values of "type" and "alias"; empty when not given.
    std::string deviceType;
    std::string alias;
    // "play": the start position in milliseconds when "from" was given.
    std::optional<DWORD> from;
    // "status": what is asked for.
    TMciStatusItem statusItem = TMciStatusItem::Mode;
};

class CMciCommandParser {
public:
    // MMSYSERR_NOERROR with command filled in, or the error of the first fault.
    static MCIERROR Parse(std::string_view text, SMciCommand& command);

private:
    static MCIERROR Tokenize(std::string_view text, std::vector<std::string>& tokens);
    static MCIERROR ParseVerb(const std::string& word, TMciVerb& verb);
    static MCIERROR ParseOpenOptions(const std::vector<std::string>& options, SMciCommand& command);
    static MCIERROR ParsePlayOptions(const std::vector<std::string>& options, SMciCommand& command);
    static MCIERROR ParseStatusItem(const std::vector<std::string>& options, SMciCommand& command);
    static MCIERROR ParseMilliseconds(const std::string& word, DWORD& value);
};
