#pragma once
// One command of the lumivexis tool. Exit status, for every command: 0 done,
// 1 failed (the reason on stderr), 2 usage error.

#include <string>
#include <vector>

class CToolCommand {
public:
    static constexpr int kExitOk = 0;
    static constexpr int kExitFailed = 1;
    static constexpr int kExitUsage = 2;

    virtual ~CToolCommand() = default;
    virtual const char* Name() const = 0;
    virtual const char* Summary() const = 0;
    virtual std::string Help() const = 0;
    // arguments: those after the command's name; paths are as given (the
    // tool has not changed its directory yet).
    virtual int Run(const std::vector<std::string>& arguments) = 0;

protected:
    // "lumivexis NAME: message" on stderr; returns status.
    int Fail(const std::string& message, int status = kExitFailed) const;
    int UsageError(const std::string& message) const;
};
