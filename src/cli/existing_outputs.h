#pragma once
// Outputs that exist already. The terminal front end replaces one only when told to
// (-y), keeps it with -n, asks the person at a terminal, and anywhere else refuses the
// item with a message rather than replace a file nobody agreed to lose.

#include <functional>
#include <string>
#include <vector>

#include "exec/app_state.h"

namespace transcoda::cli {

enum class ExistingOutput {
    Ask,      // neither -y nor -n: asked on a terminal, refused elsewhere
    Replace,  // -y, --overwrite
    Keep,     // -n, --no-overwrite
};

// True when the request's output is there already: a file (or anything else) by that
// name, or, for a DVD, a folder that holds something.
bool OutputExists(const ConversionRequest& request);

struct ExistingOutputs {
    std::vector<ConversionRequest> ToRun;    // to convert, in their order
    std::vector<std::string> KeptOutputs;     // left as they are, by -n or by the answer
    std::vector<std::string> RefusedOutputs;  // not asked to be replaced, and no one to ask
};

// The answer of the person at the terminal to the question for `output`: true to
// replace it. Empty when there is no terminal to ask.
using ReplaceQuestion = std::function<bool(const std::string& output)>;

// Sorts the requests by what becomes of their outputs.
ExistingOutputs SortExistingOutputs(const std::vector<ConversionRequest>& requests, ExistingOutput choice,
                                    const ReplaceQuestion& ask);

// The question on standard error and the answer read from standard input, when standard
// input is a terminal; empty otherwise. `stopped` is looked at while the answer is
// awaited: a stop signal ends the wait, as a No.
ReplaceQuestion TerminalReplaceQuestion(std::function<bool()> stopped);

}  // namespace transcoda::cli
