#include "CToolArguments.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

bool CToolArguments::Parse(const std::vector<std::string>& arguments, const std::set<std::string>& flags,
                           const std::set<std::string>& valued, std::string& error) {
    m_Positionals.clear();
    m_Values.clear();
    bool onlyPositionals = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // A lone "-" is a positional: standard output.
        if (onlyPositionals || argument.size() < 2 || argument[0] != '-') {
            m_Positionals.push_back(argument);
            continue;
        }
        if (argument == "--") {
            onlyPositionals = true;
            continue;
        }
        const size_t start = argument[1] == '-' ? 2 : 1;
        const size_t equals = argument.find('=');
        const std::string name =
            argument.substr(start, equals == std::string::npos ? std::string::npos : equals - start);
        if (flags.count(name) != 0) {
            if (equals != std::string::npos) {
                error = "option --" + name + " takes no value";
                return false;
            }
            m_Values[name] = "";
        } else if (valued.count(name) != 0) {
            if (equals != std::string::npos) {
                m_Values[name] = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                m_Values[name] = arguments[++i];
            } else {
                error = "option --" + name + " needs a value";
                return false;
            }
        } else {
            error = "unknown option \"" + argument + "\"";
            return false;
        }
    }
    return true;
}

std::string CToolArguments::Value(const std::string& name) const {
    const auto found = m_Values.find(name);
    return found == m_Values.end() ? std::string() : found->second;
}

bool CToolArguments::ParseInt(const std::string& text, int min, int max, int& value) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long parsed = std::strtol(text.c_str(), nullptr, 10);
    if (parsed < min || parsed > max)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool CToolArguments::ParseSeconds(const std::string& text, float& value) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos)
        return false;
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (errno != 0 || end == nullptr || *end != '\0' || !std::isfinite(parsed) || parsed > 1.0e6)
        return false;
    value = static_cast<float>(parsed);
    return true;
}

bool CToolArguments::ParseSize(const std::string& text, int& width, int& height) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    return ParseInt(text.substr(0, x), 1, 8192, width) && ParseInt(text.substr(x + 1), 1, 8192, height);
}
