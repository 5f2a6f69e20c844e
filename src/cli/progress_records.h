#pragma once
// Progress for programs (--progress json): one JSON object per line on standard output.
// Each item of the command is told waiting first, then converting (at each new step, and
// at most once a second in between), then once more with what became of it; a last
// record tells the result of the whole list. The fields are described in the README.
//
// Any thread: the worker and the tool reader report through the terminal window or the
// parallel list, the list's own thread its items' ends.

#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "conversion/item_status.h"
#include "exec/app_state.h"

namespace transcoda::cli {

// A JSON string: quoted, with its quotes, backslashes and control characters escaped,
// and any byte that is not part of valid UTF-8 replaced by U+FFFD.
std::string JsonString(const std::string& text);

class ProgressRecords {
public:
    // Every item of the command, numbered from 1 in this order.
    ProgressRecords(std::FILE* out, std::vector<ConversionRequest> items);

    // A waiting record for each item.
    void Begin();
    // Item `index` (from 0) runs `step`; `done` is the part of its work done (0 to 1) and
    // `leftMs` the time it still needs, when known. Told at once for a new step, else at
    // most once a second.
    void Converting(size_t index, const std::string& step, std::optional<double> done,
                    std::optional<int64_t> leftMs);
    // What became of item `index`: its last record (nothing more is told of it).
    void Ended(size_t index, const ItemStatus& status);
    // An output left as it was (-n, or the answer No): the item's last record.
    void Kept(size_t index);
    // The last records: every item not yet ended as stopped (when the command was
    // stopped) or failed with `message`, then the whole list's.
    void Finish(bool stopped, const std::string& message);

private:
    struct Entry {
        ConversionRequest Request;
        std::string State = "waiting";
        std::string Step;
        std::optional<std::chrono::steady_clock::time_point> Start;
        std::chrono::steady_clock::time_point LastTold{};
        double Elapsed = 0.0;
        bool Ended = false;
    };
    std::string Prefix(size_t index) const;
    void WriteLocked(size_t index, std::optional<double> done, std::optional<int64_t> leftMs,
                     const std::string& message);
    void EndLocked(size_t index, const std::string& state, const std::string& message);

    std::mutex m_;
    std::FILE* out_;
    std::vector<Entry> items_;
    std::chrono::steady_clock::time_point begin_;
};

}  // namespace transcoda::cli
