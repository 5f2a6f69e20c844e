#pragma once
// How the fake runners of the headless tests play the tools' part: a run ends well and
// reports a clip of picture and sound lasting three seconds, the duration probe
// included (which ends with status 1, as the real probe does).

#include <string>

#include "exec/tool_outcome.h"
#include "platform/command_line.h"

namespace transcoda::testing {

inline StreamReport ClipReport(double seconds = 3.0, bool video = true, bool audio = true) {
    StreamReport report;
    report.Readable = true;
    if (video) report.Streams.push_back({StreamKind::Video, seconds});
    if (audio) report.Streams.push_back({StreamKind::Audio, seconds});
    return report;
}

// "utilitymffx.exe -i X": the duration probe, which describes its input.
inline bool IsProbeLine(const std::string& line) {
    const auto args = SplitCommandLine(line);
    return args.size() == 3 && args[1] == "-i" && args[0].ends_with("/utilitymffx.exe");
}

inline ToolOutcome FakeSuccess(const std::string& line, const StreamReport& report = ClipReport()) {
    return ToolOutcome::Exit(IsProbeLine(line) ? 1 : 0, report);
}

}  // namespace transcoda::testing
