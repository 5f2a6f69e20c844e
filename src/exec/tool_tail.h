#pragma once
// The last lines of a tool's console output as a terminal would have shown them: a
// carriage return starts its line again, so a progress line that the tool rewrote many
// times counts once, as it last read. Kept for the user to read when the tool fails.

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace transcoda {

class ToolTail {
public:
    static constexpr size_t kLines = 20;
    // A longer line keeps its beginning: the tool's message comes first.
    static constexpr size_t kLineLength = 300;

    void Feed(const char* data, size_t size);
    // The last kLines lines that hold more than blanks, the one being written included;
    // the tool's own stream report is left out.
    std::vector<std::string> Lines() const;

private:
    void EndLine();

    std::deque<std::string> lines_;
    std::string current_;
    bool returned_ = false;  // a carriage return came: the next character starts the line again
};

}  // namespace transcoda
