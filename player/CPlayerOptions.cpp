#include "CPlayerOptions.h"

#include <cerrno>
#include <cstdlib>
#include <optional>

namespace {

// "--name=value" or "-name=value" split at the first "="; the name keeps no
// dashes. Plain arguments give no name.
struct SFlag {
    std::string name;
    std::optional<std::string> value;
};

std::optional<SFlag> AsFlag(const std::string& argument) {
    if (argument.size() < 2 || argument[0] != '-')
        return std::nullopt;
    const size_t start = argument[1] == '-' ? 2 : 1;
    if (start >= argument.size())
        return std::nullopt;
    SFlag flag;
    const size_t equals = argument.find('=', start);
    flag.name = argument.substr(start, equals == std::string::npos ? std::string::npos : equals - start);
    if (equals != std::string::npos)
        flag.value = argument.substr(equals + 1);
    return flag;
}

bool ParseFrameCount(const std::string& text, int& frames) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 7)
        return false;
    frames = std::atoi(text.c_str());
    return frames > 0;
}

// Reads the value of a flag that needs one: after "=" or the next argument.
bool TakeValue(const SFlag& flag, const std::vector<std::string>& arguments, size_t& index, std::string& value,
               std::string& error) {
    if (flag.value) {
        value = *flag.value;
        return true;
    }
    if (index + 1 >= arguments.size()) {
        error = "option --" + flag.name + " needs a value";
        return false;
    }
    value = arguments[++index];
    return true;
}

}  // namespace

bool CPlayerOptions::ParseWindowId(const std::string& text, unsigned long& id) {
    if (text.empty())
        return false;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
    if (digits.empty() || digits.find_first_not_of(allowed) != std::string::npos)
        return false;
    errno = 0;
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
    // X resource ids are 29-bit values in a 32-bit field.
    if (errno == ERANGE || value == 0 || value > 0xFFFFFFFFull)
        return false;
    id = static_cast<unsigned long>(value);
    return true;
}

bool CPlayerOptions::Parse(const std::vector<std::string>& arguments, const char* screensaverWindow,
                           SPlayerOptions& options, std::string& error) {
    options = SPlayerOptions{};
    bool root = false;
    bool haveWindowId = false;
    bool onlyFiles = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::optional<SFlag> flag = onlyFiles ? std::nullopt : AsFlag(argument);
        if (!flag) {
            if (argument == "--" && !onlyFiles) {
                onlyFiles = true;
                continue;
            }
            if (!options.scenePath.empty()) {
                error =
                    "only one scene file can be played (got \"" + options.scenePath + "\" and \"" + argument + "\")";
                return false;
            }
            options.scenePath = argument;
            continue;
        }
        const std::string& name = flag->name;
        std::string value;
        if (name == "help" || name == "h") {
            options.action = TPlayerAction::Help;
        } else if (name == "version") {
            options.action = TPlayerAction::Version;
        } else if (name == "c" || name == "settings") {
            options.action = TPlayerAction::Settings;
        } else if (name == "root") {
            root = true;
        } else if (name == "window-id") {
            if (!TakeValue(*flag, arguments, i, value, error))
                return false;
            if (!ParseWindowId(value, options.windowId)) {
                error = "--window-id needs an X window id such as 0x2a00007, not \"" + value + "\"";
                return false;
            }
            haveWindowId = true;
        } else if (name == "frames") {
            if (!TakeValue(*flag, arguments, i, value, error))
                return false;
            if (!ParseFrameCount(value, options.frames)) {
                error = "--frames needs a number of frames from 1 to 9999999, not \"" + value + "\"";
                return false;
            }
        } else if (name == "screenshot") {
            if (!TakeValue(*flag, arguments, i, value, error))
                return false;
            if (value.empty()) {
                error = "--screenshot needs a file name";
                return false;
            }
            options.screenshotPath = value;
        } else if (name == "windowed") {
            options.window = TWindowOverride::Windowed;
        } else if (name == "fullscreen") {
            options.window = TWindowOverride::Fullscreen;
        } else {
            error = "unknown option \"" + argument + "\"";
            return false;
        }
    }

    if (!options.screenshotPath.empty() && options.frames == 0)
        options.frames = 1;

    if (haveWindowId) {
        options.target = TOutputTarget::WindowId;
    } else if (screensaverWindow != nullptr && *screensaverWindow != '\0') {
        if (!ParseWindowId(screensaverWindow, options.windowId)) {
            error = std::string("XSCREENSAVER_WINDOW does not hold an X window id: \"") + screensaverWindow + "\"";
            return false;
        }
        options.target = TOutputTarget::WindowId;
    } else if (root) {
        options.target = TOutputTarget::Root;
    }
    return true;
}

std::string CPlayerOptions::Usage(const std::string& program) {
    return "Usage: " + program +
           " [options] [SCENE]\n"
           "Plays a Lumivexis scene: SCENE (a scene file or package), or without it the\n"
           "scene packed into this program by an export.\n"
           "\n"
           "Options (one dash or two):\n"
           "  --window-id ID        draw into the X window ID (0x... or decimal), as\n"
           "                        screensaver daemons ask; input stays with the daemon\n"
           "  --root                draw on the root window (or on $XSCREENSAVER_WINDOW)\n"
           "  --windowed            play in a window whatever the scene says\n"
           "  --fullscreen          play full screen whatever the scene says\n"
           "  --frames N            end the run after N frames\n"
           "  --screenshot FILE     write the last frame as PNG (one frame unless --frames);\n"
           "                        without a display the frames are drawn off screen\n"
           "  -c, --settings        open the \"Lumivexis settings\" dialog and keep its values\n"
           "  -h, --help            show this text\n"
           "  --version             show the version\n"
           "\n"
           "Environment: XSCREENSAVER_WINDOW=ID is used like --window-id when that is not\n"
           "given. SIGTERM, SIGINT and SIGUSR1 end the run.\n"
           "Exit status: 0 played, 1 the scene could not be played, 2 usage error,\n"
           "128 + N a signal N came before the run started or while an error was shown.\n";
}
