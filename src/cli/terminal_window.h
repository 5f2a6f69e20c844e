#pragma once
// The window interface for a terminal: the status, the progress and the time label on
// one line that is rewritten in place, messages and the diagnostic log on standard error, and a
// line naming each item of a list as it begins. Elsewhere than on a terminal the same
// texts come as plain lines, or as JSON records (progress_records.h).
//
// The calls come from the worker and the pipe reader while the main thread only waits
// for the worker. There are no widgets to keep on one thread, so instead of queueing
// each call to the main thread this port serialises them with a mutex: every call is
// complete before its caller goes on and no two calls interleave, which is what the
// worker and the reader rely on.

#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "conversion/conversion_queue.h"
#include "exec/request_timing.h"
#include "exec/window_port.h"

namespace transcoda::cli {

// The failing tool's last lines, each indented under the message they belong to.
std::string IndentedDetails(const std::string& details);
// The progress line: the status, the progress text and the time label, two blanks
// between them, none after.
std::string ProgressLineText(std::string status, std::string progress, std::string time);
// "** "/">> " + the date and time, as the diagnostic log's lines begin on a terminal.
std::string TerminalLogStamp(const std::string& marker);

class ProgressRecords;

// How the progress line is shown: rewritten in place and cleared to the end of the line
// (a terminal), rewritten after "\r" and padded with blanks (elsewhere, for a reader that
// redraws it), one plain line per step and at most one a second, or not at all (JSON records).
enum class LineForm { Terminal, Rewrite, Plain, Silent };

class TerminalWindow : public WindowPort {
public:
    // Terminal when `out` is one, Rewrite otherwise.
    TerminalWindow(std::FILE* out, std::FILE* err);

    void SetLineForm(LineForm form);
    // The items' JSON records: `recordOf` gives each run item's place among the records
    // (by its place in the list, from 0), `figures` the running request's figures.
    void SetRecords(ProgressRecords* records, std::vector<size_t> recordOf,
                    std::function<std::optional<TimingFigures>()> figures);

    // The list being converted, whose items the reports name.
    void SetQueue(ConversionQueue queue);
    // Hears the list's item reports (on the worker's or the tool reader's thread): an
    // item's first report, as it begins, prints "(2/3) input -> output".
    void ShowItem(const ItemReport& report);
    // Ends the progress line, so the next text starts on a line of its own.
    void EndLine();
    // A line on standard output after the progress line.
    void PrintLine(const std::string& text);

    void ShowDisplay(const DisplayChange& change) override;
    void SetActionText(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    // The message, then the failing tool's last lines, indented.
    void ShowFailure(const std::string& text, const std::string& details) override;
    void AppendLog(const std::string& line) override;
    std::string LogStamp(const std::string& marker) override;
    bool RestoreConvertButton(bool forList) override;

private:
    void DrawLocked();
    void PlainLocked(bool newStep);
    void RecordLocked();
    void EndLineLocked();
    std::string LineLocked() const;

    std::mutex m_;
    std::FILE* out_;
    std::FILE* err_;
    LineForm form_;
    std::chrono::steady_clock::time_point plainAt_{};
    std::string plainLine_;
    bool stepPercentTold_ = false;
    ProgressRecords* records_ = nullptr;
    std::vector<size_t> recordOf_;
    std::function<std::optional<TimingFigures>()> figures_;
    size_t running_ = 0;  // the running item's place in the list
    std::string status_, progress_, time_;
    size_t drawnWidth_ = 0;
    bool lineOpen_ = false;
    ConversionQueue queue_;
    long long shownItem_ = 0;
};

}  // namespace transcoda::cli
