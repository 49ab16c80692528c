#pragma once
// Runs a shell command line and collects what it printed (standard output
// and error together) and its exit status.
//
//   const CShell::SResult result = CShell::Run("desktop-file-validate " + CShell::Quote(path));
//   EXPECT_EQ(result.m_Status, 0) << result.m_Output;

#include <string>

class CShell {
public:
    struct SResult {
        int m_Status = -1;  // the exit status; -1 when it did not exit normally
        std::string m_Output;
    };

    static SResult Run(const std::string& command);
    // The text (or a path) as one word of a shell command line.
    static std::string Quote(const std::string& text);
    // Whether the program is on the PATH.
    static bool Has(const std::string& program);
};
