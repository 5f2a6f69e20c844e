#pragma once
// Rewrites the engine's progress times "time=HH:MM:SS.cc" as "time=<seconds>.cc" in a
// stream of console output that arrives in arbitrary pieces. Everything else passes
// through byte for byte, carriage returns included; text is held back only while a
// "time=" value might still be incomplete.

#include <string>

namespace helpers {

class TimeRewriter {
public:
    // Returns the text that can be written now.
    std::string Feed(const std::string& piece);
    // Returns whatever is still held back (end of the stream).
    std::string Flush();

private:
    std::string pending_;
};

// "HH:MM:SS.cc" (with an optional leading "-") as "<seconds>.cc"; the text unchanged
// when it has another form.
std::string HmsToSeconds(const std::string& value);

}  // namespace helpers
