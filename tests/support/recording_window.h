#pragma once
// A window stand-in for headless tests: keeps every call in order, each field of a
// display change as a call of its own, and holds what it was last shown.

#include <mutex>
#include <string>
#include <vector>

#include "exec/conversion_session.h"
#include "exec/window_port.h"

namespace transcoda::testing {

class RecordingWindow : public WindowPort {
public:
    struct Call {
        std::string op;     // "status", "progress", "action", "title", "barmax", "bar", "time", "message", "notice", "log", "restore"
        std::string text;   // the text, or the number written as text
    };

    void ShowDisplay(const DisplayChange& c) override {
        std::lock_guard l(m);
        ++displayCalls;
        if (c.StatusText) Record("status", *c.StatusText, &status);
        if (c.ProgressText) Record("progress", *c.ProgressText, &progress);
        if (c.Title) Record("title", *c.Title, &title);
        if (c.BarMaximum) {
            barMax = *c.BarMaximum;
            calls.push_back({"barmax", std::to_string(barMax)});
        }
        if (c.BarPosition) {
            bar = *c.BarPosition;
            calls.push_back({"bar", std::to_string(bar)});
        }
        if (c.TimeText) Record("time", *c.TimeText, &time);
    }
    void SetActionText(const std::string& t) override { std::lock_guard l(m); Record("action", t, &action); }
    void ShowMessage(const std::string& t) override { std::lock_guard l(m); messages.push_back(t); calls.push_back({"message", t}); }
    // A failure is a message whose details are kept beside it.
    void ShowFailure(const std::string& t, const std::string& d) override {
        ShowMessage(t);
        std::lock_guard l(m);
        details.push_back(d);
    }
    // A desktop box (its details behind a button) when set, else a terminal.
    bool DetailsOnDemand() const override { return detailsOnDemand; }
    void ShowWrittenNotice(const std::string& t, const std::string& folder) override {
        std::lock_guard l(m);
        notices.push_back(t + " | " + folder);
        calls.push_back({"notice", t});
    }
    void AppendLog(const std::string& line) override { std::lock_guard l(m); log.push_back(line); calls.push_back({"log", line}); }
    std::string LogStamp(const std::string& marker) override { return marker + "01/02/2026 à 10:11:12"; }
    bool RestoreConvertButton(bool forList) override {
        std::lock_guard l(m);
        restored = forList ? "list" : "once";
        calls.push_back({"restore", restored});
        return true;
    }

    // Is told each change of the session's display as it is pushed.
    void Follow(ConversionSession& session) {
        session.Display().SetObserver([this](const DisplayChange& c) { ShowDisplay(c); });
    }

    // Texts of every call of one kind, in order.
    std::vector<std::string> Texts(const std::string& op) {
        std::lock_guard l(m);
        std::vector<std::string> out;
        for (const auto& c : calls) if (c.op == op) out.push_back(c.text);
        return out;
    }

    std::mutex m;
    std::vector<Call> calls;
    std::string status, progress, action, title, time, restored;
    int bar = 0, barMax = 100;
    bool detailsOnDemand = false;
    int displayCalls = 0;  // round trips of the progress display
    std::vector<std::string> messages, log;
    // The details of each failure (in the order of the messages that had some), and the
    // written-file notices as "text | folder".
    std::vector<std::string> details, notices;

private:
    void Record(const char* op, const std::string& t, std::string* field) {
        *field = t;
        calls.push_back({op, t});
    }
};

// Keeps only the last look of the display, so that long runs and floods of output do not
// grow the record of calls.
class StateWindow : public RecordingWindow {
public:
    void ShowDisplay(const DisplayChange& c) override {
        std::lock_guard l(m);
        ++displayCalls;
        if (c.StatusText) status = *c.StatusText;
        if (c.ProgressText) progress = *c.ProgressText;
        if (c.Title) title = *c.Title;
        if (c.BarMaximum) barMax = *c.BarMaximum;
        if (c.BarPosition) bar = *c.BarPosition;
    }
};

}  // namespace transcoda::testing
