#pragma once
// The tool's error-report hook: every message the engine would show in a box
// goes to stderr, and is counted so that a command can tell that something
// went wrong along the way (a file that could not be packed, say).

#include <atomic>

class CErrorLog {
public:
    static void Install();
    static int Count() { return s_count.load(); }

private:
    static std::atomic<int> s_count;
};
