#pragma once
// The arguments of one command of the tool: positional arguments and
// "--name value" / "--name=value" options, each command declaring which
// names it knows and which of them take a value.

#include <map>
#include <set>
#include <string>
#include <vector>

class CToolArguments {
public:
    // flags: options without a value; valued: options that take one.
    // False with a one-line reason in error for unknown options or a
    // missing value.
    bool Parse(const std::vector<std::string>& arguments, const std::set<std::string>& flags,
               const std::set<std::string>& valued, std::string& error);

    const std::vector<std::string>& Positionals() const { return m_Positionals; }
    bool Has(const std::string& name) const { return m_Values.count(name) != 0; }
    // The option's value; empty when it was not given (or is a flag).
    std::string Value(const std::string& name) const;

    // Number parsers for option values: false for anything but a whole
    // number (or decimal number) within the range.
    static bool ParseInt(const std::string& text, int min, int max, int& value);
    static bool ParseSeconds(const std::string& text, float& value);
    // "640x480"; each side 1 .. 8192.
    static bool ParseSize(const std::string& text, int& width, int& height);

private:
    std::vector<std::string> m_Positionals;
    std::map<std::string, std::string> m_Values;
};
