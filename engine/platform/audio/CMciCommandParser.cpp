#include "platform/audio/CMciCommandParser.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Lowercase(std::string word) {
    for (char& c : word) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return word;
}

bool IsKeyword(const std::string& word, std::string_view keyword) {
    return Lowercase(word) == keyword;
}

}  // namespace

MCIERROR CMciCommandParser::Parse(std::string_view text, SMciCommand& command) {
    std::vector<std::string> tokens;
    if (MCIERROR error = Tokenize(text, tokens)) {
        return error;
    }
    if (tokens.empty()) {
        return MCIERR_MISSING_COMMAND_STRING;
    }
    command = SMciCommand{};
    if (MCIERROR error = ParseVerb(tokens[0], command.verb)) {
        return error;
    }
    if (tokens.size() < 2 || tokens[1].empty()) {
        return MCIERR_MISSING_DEVICE_NAME;
    }
    command.device = tokens[1];
    const std::vector<std::string> options(tokens.begin() + 2, tokens.end());

    switch (command.verb) {
    case TMciVerb::Open:
        return ParseOpenOptions(options, command);
    case TMciVerb::Play:
        return ParsePlayOptions(options, command);
    case TMciVerb::Status:
        return ParseStatusItem(options, command);
    case TMciVerb::Pause:
    case TMciVerb::Resume:
    case TMciVerb::Stop:
    case TMciVerb::Close:
        return options.empty() ? MMSYSERR_NOERROR : MCIERR_UNRECOGNIZED_KEYWORD;
    }
    return MCIERR_UNRECOGNIZED_COMMAND;
}

// Splits at blanks; a double-quoted part is one token without its quotes and
// must be followed by a blank or the end of the string.
MCIERROR CMciCommandParser::Tokenize(std::string_view text, std::vector<std::string>& tokens) {
    size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        if (text[i] == '"') {
            const size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos) {
                return MCIERR_NO_CLOSING_QUOTE;
            }
            tokens.emplace_back(text.substr(i + 1, close - i - 1));
            i = close + 1;
            if (i < text.size() && !IsBlank(text[i])) {
                return MCIERR_EXTRA_CHARACTERS;
            }
            continue;
        }
        const size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) {
            ++i;
        }
        tokens.emplace_back(text.substr(start, i - start));
    }
    return MMSYSERR_NOERROR;
}

MCIERROR CMciCommandParser::ParseVerb(const std::string& word, TMciVerb& verb) {
    const std::string lower = Lowercase(word);
    if (lower == "open") {
        verb = TMciVerb::Open;
    } else if (lower == "play") {
        verb = TMciVerb::Play;
    } else if (lower == "pause") {
        verb = TMciVerb::Pause;
    } else if (lower == "resume") {
        verb = TMciVerb::Resume;
    } else if (lower == "stop") {
        verb = TMciVerb::Stop;
    } else if (lower == "close") {
        verb = TMciVerb::Close;
    } else if (lower == "status") {
        verb = TMciVerb::Status;
    } else {
        return MCIERR_UNRECOGNIZED_COMMAND;
    }
    return MMSYSERR_NOERROR;
}

MCIERROR CMciCommandParser::ParseOpenOptions(const std::vector<std::string>& options, SMciCommand& command) {
    for (size_t i = 0; i < options.size(); i += 2) {
        const bool isType = IsKeyword(options[i], "type");
        const bool isAlias = IsKeyword(options[i], "alias");
        if (!isType && !isAlias) {
            return MCIERR_UNRECOGNIZED_KEYWORD;
        }
        if (i + 1 >= options.size() || options[i + 1].empty()) {
            return MCIERR_MISSING_STRING_ARGUMENT;
        }
        std::string& target = isType ? command.deviceType : command.alias;
        if (!target.empty()) {
            return MCIERR_DUPLICATE_FLAGS;
        }
        target = options[i + 1];
    }
    return MMSYSERR_NOERROR;
}

MCIERROR CMciCommandParser::ParsePlayOptions(const std::vector<std::string>& options, SMciCommand& command) {
    for (size_t i = 0; i < options.size(); i += 2) {
        if (!IsKeyword(options[i], "from")) {
            return MCIERR_UNRECOGNIZED_KEYWORD;
        }
        if (i + 1 >= options.size()) {
            return MCIERR_MISSING_PARAMETER;
        }
        if (command.from) {
            return MCIERR_DUPLICATE_FLAGS;
        }
        DWORD from = 0;
        if (MCIERROR error = ParseMilliseconds(options[i + 1], from)) {
            return error;
        }
        command.from = from;
    }
    return MMSYSERR_NOERROR;
}

MCIERROR CMciCommandParser::ParseStatusItem(const std::vector<std::string>& options, SMciCommand& command) {
    if (options.empty()) {
        return MCIERR_MISSING_PARAMETER;
    }
    if (options.size() > 1) {
        return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    const std::string item = Lowercase(options[0]);
    if (item == "mode") {
        command.statusItem = TMciStatusItem::Mode;
    } else if (item == "position") {
        command.statusItem = TMciStatusItem::Position;
    } else if (item == "length") {
        command.statusItem = TMciStatusItem::Length;
    } else {
        return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    return MMSYSERR_NOERROR;
}

// An unsigned 32-bit decimal number; signs, fractions and overflow are refused.
MCIERROR CMciCommandParser::ParseMilliseconds(const std::string& word, DWORD& value) {
    unsigned long long parsed = 0;
    const char* end = word.data() + word.size();
    const auto [stop, status] = std::from_chars(word.data(), end, parsed);
    if (word.empty() || status != std::errc{} || stop != end || parsed > std::numeric_limits<DWORD>::max()) {
        return MCIERR_BAD_INTEGER;
    }
    value = static_cast<DWORD>(parsed);
    return MMSYSERR_NOERROR;
}
