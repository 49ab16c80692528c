#include "CToolApp.h"

#include <cstdio>
#include <iostream>

#include "CErrorLog.h"
#include "CFontCommand.h"
#include "CInfoCommand.h"
#include "CPackCommand.h"
#include "CRenderCommand.h"

#ifndef LVX_VERSION
#define LVX_VERSION "unknown"
#endif

CToolApp::CToolApp() {
    m_Commands.push_back(std::make_unique<CInfoCommand>());
    m_Commands.push_back(std::make_unique<CRenderCommand>());
    m_Commands.push_back(std::make_unique<CPackCommand>());
    m_Commands.push_back(std::make_unique<CFontCommand>());
}

std::string CToolApp::Usage() const {
    std::string text =
        "Usage: lumivexis COMMAND [options]\n"
        "Inspects, renders and packs Lumivexis scenes, and makes bitmap fonts.\n"
        "\n"
        "Commands:\n";
    for (const auto& command : m_Commands) {
        std::string name = command->Name();
        name.resize(10, ' ');
        text += "  " + name + command->Summary() + "\n";
    }
    text +=
        "\n"
        "\"lumivexis COMMAND --help\" describes a command. \"lumivexis --version\" shows the version.\n"
        "Exit status: 0 done, 1 failed (the reason on stderr), 2 usage error.\n"
        "The engine's log \"log.txt\" is written to $XDG_STATE_HOME/lumivexis\n"
        "(~/.local/state/lumivexis).\n";
    return text;
}

CToolCommand* CToolApp::Find(const std::string& name) const {
    for (const auto& command : m_Commands) {
        if (name == command->Name())
            return command.get();
    }
    return nullptr;
}

int CToolApp::Main(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        std::cerr << Usage();
        return CToolCommand::kExitUsage;
    }
    const std::string& first = arguments[0];
    if (first == "--help" || first == "-h" || first == "help") {
        if (arguments.size() > 1) {
            if (CToolCommand* command = Find(arguments[1])) {
                std::cout << command->Help();
                return CToolCommand::kExitOk;
            }
        }
        std::cout << Usage();
        return CToolCommand::kExitOk;
    }
    if (first == "--version") {
        std::cout << "lumivexis " << LVX_VERSION << "\n";
        return CToolCommand::kExitOk;
    }
    CToolCommand* command = Find(first);
    if (command == nullptr) {
        std::cerr << "lumivexis: unknown command \"" << first << "\"\n\n" << Usage();
        return CToolCommand::kExitUsage;
    }
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    for (const std::string& argument : rest) {
        if (argument == "--")
            break;
        if (argument == "--help" || argument == "-h") {
            std::cout << command->Help();
            return CToolCommand::kExitOk;
        }
    }
    CErrorLog::Install(command->Name());
    return command->Run(rest);
}
