#pragma once
// The lumivexis command-line tool: "lumivexis COMMAND [options]", with
// "info", "render", "pack" and "font"; "--help" for the tool and for every
// command.

#include <memory>
#include <string>
#include <vector>

#include "CToolCommand.h"

class CToolApp {
public:
    CToolApp();
    // arguments: argv without the program name.
    int Main(const std::vector<std::string>& arguments);
    std::string Usage() const;

private:
    CToolCommand* Find(const std::string& name) const;

    std::vector<std::unique_ptr<CToolCommand>> m_Commands;
};
