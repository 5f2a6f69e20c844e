#pragma once
// Whether a conversion can give a true result, what its output must hold, and whether
// what a step wrote holds it.

#include <string>

#include "exec/app_state.h"
#include "exec/stream_report.h"
#include "recipes/format_catalogue.h"

namespace transcoda {

// What a request's output must hold. A negative length is not known (the input did not
// say), and is then not checked.
struct Expectation {
    bool NeedVideo = false;
    bool NeedAudio = false;
    double Video = -1.0;  // seconds of picture
    double Audio = -1.0;  // seconds of sound (of silence when the input has none)
};

// What one step writes: the picture alone, the sound alone, the request's streams, or
// nothing that can be read back on its own (the DVD title before its table of contents).
enum class Writes { Picture, Sound, Media, Nothing };

struct InputVerdict {
    // Why the request cannot give a true result (user text), or empty.
    std::string Refusal;
    Expectation Expected;
};

// From what the input holds (as its tool read it): the refusals that come before any
// step (an input that cannot be read, sound only into a picture preset, no sound into a
// sound preset, a segment that starts after the end of the input, a lag correction
// whose lag is not shorter than the sound) and otherwise what the output must hold:
// each stream as long as the input stream it comes from, the segment's length for an
// extraction, and for a lag correction the sound shortened by the lag.
InputVerdict ExpectOutput(const FormatEntry& entry, const ConversionRequest& request, const StreamReport& input);

// What is wrong (user text) with a file whose tool reported `written`, for a step that
// writes `writes` of `expected`; empty when it holds what it must. A segment whose first
// or last picture is not the source's there (the tool compared them) is wrong too.
std::string CheckWritten(const StreamReport& written, const Expectation& expected, Writes writes);

// How far a stream's length may be from the expected one.
double LengthTolerance(double expectedSeconds);

// "HH:MM:SS" (each part a number, the seconds may have decimals) or a plain number of
// seconds; negative when unreadable.
double SecondsOfClock(const std::string& text);

}  // namespace transcoda
