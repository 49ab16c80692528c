#pragma once
// The tool's error-report hook: every message the engine would show in a box
// goes to stderr as "lumivexis COMMAND: text", and is counted so that a
// command can tell that something went wrong along the way (a file that
// could not be packed, say).
//
// A command that expects reports it has no use for (info does not need the
// textures a scene names) holds them for a while and then decides which to
// print.

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

class CErrorLog {
public:
    static void Install(const std::string& command);
    static int Count() { return s_count.load(); }

    // Reports from now on are kept (and counted) instead of printed.
    static void BeginHolding();
    // Ends holding and returns the kept reports in the order they came.
    static std::vector<std::string> EndHolding();
    // Writes one line with the command's prefix.
    static void Print(const std::string& text);

private:
    static void Report(const std::string& text, bool counts);
    // With s_mutex held.
    static void WriteLine(const std::string& text);

    static std::atomic<int> s_count;
    static std::mutex s_mutex;
    static std::string s_prefix;
    static bool s_holding;
    static std::vector<std::string> s_held;
};
