#pragma once
// Recorded feeds of the time estimate: what a real conversion fed it, as text, and the
// estimate played again over such a record. One event a line, its time in milliseconds
// from the request's start:
//   begin 0 / plan T w1 w2 ... / step T / progress T fraction / stepend T / end T
// Lines that begin with "#" are comments.

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "exec/time_estimate.h"

namespace transcoda::testing {

using Trace = std::vector<EstimateEvent>;

inline const char* TraceWord(EstimateEvent::Kind kind) {
    switch (kind) {
        case EstimateEvent::Kind::Begin: return "begin";
        case EstimateEvent::Kind::Plan: return "plan";
        case EstimateEvent::Kind::Step: return "step";
        case EstimateEvent::Kind::Progress: return "progress";
        case EstimateEvent::Kind::StepEnd: return "stepend";
        case EstimateEvent::Kind::End: return "end";
    }
    return "?";
}

inline std::string TraceText(const Trace& trace) {
    std::ostringstream out;
    const int64_t origin = trace.empty() ? 0 : trace.front().AtMs;
    for (const EstimateEvent& e : trace) {
        out << TraceWord(e.What) << ' ' << e.AtMs - origin;
        if (e.What == EstimateEvent::Kind::Progress) {
            char number[32];
            std::snprintf(number, sizeof number, "%.4f", e.Fraction);
            out << ' ' << number;
        }
        for (double w : e.Weights) out << ' ' << w;
        out << '\n';
    }
    return out.str();
}

inline Trace ReadTrace(const std::string& path) {
    Trace trace;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string word;
        EstimateEvent e;
        words >> word >> e.AtMs;
        for (auto kind : {EstimateEvent::Kind::Begin, EstimateEvent::Kind::Plan, EstimateEvent::Kind::Step,
                          EstimateEvent::Kind::Progress, EstimateEvent::Kind::StepEnd, EstimateEvent::Kind::End})
            if (word == TraceWord(kind)) e.What = kind;
        if (e.What == EstimateEvent::Kind::Progress) words >> e.Fraction;
        for (double w; words >> w;) e.Weights.push_back(w);
        trace.push_back(e);
    }
    return trace;
}

// The request's whole time, from its start to its end.
inline int64_t TraceLength(const Trace& trace) {
    return trace.empty() ? 0 : trace.back().AtMs - trace.front().AtMs;
}

// The estimate as it stood `atMs` after the request's start, with the plan's weights
// replaced by `weights` when given.
inline std::optional<int64_t> RemainingAt(const Trace& trace, int64_t atMs,
                                          const std::vector<double>* weights = nullptr) {
    if (trace.empty()) return std::nullopt;
    const int64_t origin = trace.front().AtMs;
    TimeEstimate estimate;
    for (EstimateEvent e : trace) {
        if (e.AtMs - origin > atMs) break;
        if (weights != nullptr && e.What == EstimateEvent::Kind::Plan) e.Weights = *weights;
        estimate.Feed(e);
    }
    return estimate.RemainingMs(origin + atMs);
}

}  // namespace transcoda::testing
