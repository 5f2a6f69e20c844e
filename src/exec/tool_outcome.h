#pragma once
// What became of one tool run: how it ended, and what the tool read back of the file
// it wrote.

#include <optional>
#include <string>
#include <vector>

#include "exec/stream_report.h"

namespace transcoda {

struct ToolOutcome {
    enum class End {
        Exited,      // the tool ended by itself; Code is its exit status
        Stopped,     // ended by our Stop (the session was stopped)
        Killed,      // ended by a signal from outside; Code is the signal number
        NotStarted,  // could not be started
    };
    End Ending = End::Exited;
    int Code = 0;
    // The tool's last report line, when it printed one.
    std::optional<StreamReport> Report;
    // The last lines the tool wrote, for the user to read when it failed.
    std::vector<std::string> LastLines = {};

    bool Succeeded() const { return Ending == End::Exited && Code == 0; }

    static ToolOutcome Exit(int code, std::optional<StreamReport> report = std::nullopt) {
        return {End::Exited, code, std::move(report)};
    }
    static ToolOutcome Stop() { return {End::Stopped, 0, std::nullopt}; }
    static ToolOutcome Kill(int signal) { return {End::Killed, signal, std::nullopt}; }
    static ToolOutcome NoStart() { return {End::NotStarted, 0, std::nullopt}; }
};

// How a tool's end is said to the user, e.g. "l'outil s'est terminé avec le code 1" /
// "the tool exited with status 1"; by CurrentLanguage.
std::string ToolEndText(const ToolOutcome& outcome);

}  // namespace transcoda
