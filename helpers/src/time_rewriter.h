#pragma once
// Rewrites the engine's progress times "time=HH:MM:SS.cc" as "time=<seconds>.cc" in a
// stream of console output that arrives in arbitrary pieces. Everything else passes
// through byte for byte, carriage returns included; text is held back only while a
// "time=" value might still be incomplete.

#include <functional>
#include <string>
#include <utility>

namespace helpers {

class TimeRewriter {
public:
    // Returns the text that can be written now.
    std::string Feed(const std::string& piece);
    // Returns whatever is still held back (end of the stream).
    std::string Flush();
    // A time rewritten to seconds is said as no later than ceiling() (seconds): the
    // engine's time is that of its furthest stream, and a stream fed while the engine
    // runs may lag behind it.
    void LimitTo(std::function<double()> ceiling) { ceiling_ = std::move(ceiling); }

private:
    std::string Rewritten(const std::string& value) const;

    std::string pending_;
    std::function<double()> ceiling_;
};

// "HH:MM:SS.cc" (with an optional leading "-") as "<seconds>.cc"; the text unchanged
// when it has another form.
std::string HmsToSeconds(const std::string& value);

}  // namespace helpers
