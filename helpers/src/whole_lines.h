#pragma once
// Holds an engine's console output back to whole lines, so that a line the engine
// writes in several pieces (ffmpeg writes its "Duration:" line in four) reaches the
// reader in one piece. A partial line is let through once the engine has been silent
// for a moment, so that nothing waits for a line end that never comes.

#include <string>

namespace helpers {

class WholeLines {
public:
    // Returns every complete line (ending in "\n" or "\r") now available.
    std::string Feed(const std::string& piece);
    // Returns the held partial line.
    std::string Flush();
    bool Holding() const { return !held_.empty(); }

private:
    std::string held_;
};

// The lines without those that say an input's length is unknown ("Duration: N/A"): the
// sound the tool feeds the engine through a pipe has none, and the program takes the
// last "Duration:" line of a piece of output, which must be the file's.
std::string WithoutUnknownDurations(const std::string& lines);

}  // namespace helpers
