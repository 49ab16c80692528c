#pragma once
// lumivexis info SCENE [--json]

#include "CToolCommand.h"

class CInfoCommand : public CToolCommand {
public:
    const char* Name() const override { return "info"; }
    const char* Summary() const override { return "show what a scene file or package holds"; }
    std::string Help() const override;
    int Run(const std::vector<std::string>& arguments) override;
};
