#pragma once
// Turns each chunk of a tool's console output into a percentage or a count of seconds,
// a bar position and an application title. The handler reads and changes its session's
// progress state and display (exec/progress_display.h), and pushes what a chunk changed
// at most once.

#include <cstdint>
#include <string>

#include "exec/window_port.h"

namespace transcoda {

class ConversionSession;
class ProgressDisplay;

class ProgressHandler {
public:
    explicit ProgressHandler(ConversionSession& session) : session_(session) {}

    void HandleOutputChunk(const std::string& chunk);

    // State of the current run; a new handler starts afresh for every run.
    int32_t RunDuration = -2;        // duration printed by this run's own tool, hundredths
    std::string PercentText = "null";
    int32_t ToolPercent = 0;
    double PositionPercent = 0.0;
    int32_t ReaderBarPosition = 0;   // the bar position last asked for
    double StepPercent = 0.0;        // the highest percentage this run's tool has reported

private:
    // Shows the running step at percent and returns the percentage shown.
    double ShowPercent(double percent);
    // In a request of several steps the bar follows the request's percentage shown.
    void FollowShownPercent(double shown);
    void ShowTimeBranch(int32_t time);
    void ShowPercentageBranch();
    void ShowActivity();

    ConversionSession& session_;
};

// Sets the bar to `position` (clamped to 0..maximum), except that a 0 leaves a bar that
// stands strictly between 0 and its maximum where it is.
void ApplyReaderBar(ProgressDisplay& display, int position);

// The idle look after a run: title "Transcoda 1.0", bar 0, "Ready"/"Prêt", empty
// progress label.
void ResetProgressDisplay(ProgressDisplay& display);
// The same look as one change, for a window shown without a session.
DisplayChange IdleLook();

}  // namespace transcoda
