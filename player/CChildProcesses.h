#pragma once
// The processes this program started. SDL shows a message box in a child
// process of its own (forked, so that the box's X connection cannot upset
// the program's) and waits for it. When the program ends while such a box is
// open, the box must go too: it would otherwise stay on the screen, holding
// the standard output and error that the program's parent reads.
//
// The child inherits the signals blocked in the thread that forked it, so
// only SIGKILL reaches it for certain.

#include <sys/types.h>

#include <vector>

class CChildProcesses {
public:
    // The running children of this process (read from /proc).
    static std::vector<pid_t> List();
    // Kills every one of them (SIGKILL).
    static void KillAll();
};
