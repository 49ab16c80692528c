#pragma once
// Where the engine's files land. The engine writes its log "log.txt" (and,
// for a packed scene with music, "music.tmp") into the current directory.
// A screensaver is started from wherever its daemon stands, often the home
// folder, so the player and the command-line tool move into their own state
// folder first:
//
//   $XDG_STATE_HOME/lumivexis       (default ~/.local/state/lumivexis)
//
// and stay where they are when that folder cannot be made. Paths given on
// the command line are made absolute before the move.

#include <string>

class CRunDirectory {
public:
    // The state folder; empty when neither XDG_STATE_HOME nor HOME is set.
    static std::string StateDirectory();
    // Creates the state folder and makes it the current directory. Returns
    // the folder now current.
    static std::string EnterStateDirectory();
    // path made absolute against the current directory (empty stays empty).
    static std::string Absolute(const std::string& path);
};
