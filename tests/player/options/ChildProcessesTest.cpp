// The program's own child processes (where SDL shows its message boxes) are
// found and ended with it, even when they block the signals of their parent.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "CChildProcesses.h"

namespace {

bool Lists(pid_t child) {
    const std::vector<pid_t> children = CChildProcesses::List();
    return std::find(children.begin(), children.end(), child) != children.end();
}

}  // namespace

TEST(ChildProcesses, ChildrenThatBlockEverySignalAreFoundAndKilled) {
    EXPECT_FALSE(Lists(getpid()));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Like a message box forked by a thread that blocks SIGTERM.
        sigset_t all;
        sigfillset(&all);
        sigprocmask(SIG_BLOCK, &all, nullptr);
        for (;;)
            pause();
    }
    EXPECT_TRUE(Lists(child));
    CChildProcesses::KillAll();
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_FALSE(Lists(child));
}
