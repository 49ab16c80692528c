// Feeds arbitrary text to the MCI command parser: whatever the bytes, parsing
// must end with a command or an MCI error, and an accepted command must carry
// the pieces its verb needs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/audio/CMciCommandParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    SMciCommand command;
    if (CMciCommandParser::Parse(text, command) == MMSYSERR_NOERROR && command.device.empty()) {
        std::abort();  // every accepted command names a device or a file
    }
    return 0;
}
