#include "CToolCommand.h"

#include <iostream>

int CToolCommand::Fail(const std::string& message, int status) const {
    std::cerr << "lumivexis " << Name() << ": " << message << "\n";
    return status;
}

int CToolCommand::UsageError(const std::string& message) const {
    std::cerr << "lumivexis " << Name() << ": " << message << "\nTry \"lumivexis " << Name() << " --help\".\n";
    return kExitUsage;
}
