#pragma once
// What a line of shader text does wrong. The parsers throw it with the reason
// alone; the assembler adds the line number and goes on with the next line.

#include <stdexcept>
#include <string>

class CShaderSyntaxError : public std::runtime_error {
public:
    explicit CShaderSyntaxError(const std::string& reason) : std::runtime_error(reason) {}
};
