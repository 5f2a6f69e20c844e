#pragma once
// Turns each chunk of a tool's console output into a percentage or a count of seconds,
// a bar position and an application title. The handler reads and changes the core's own
// display state (exec/progress_display.h) and pushes what a chunk changed to the window
// in at most one call.

#include <cstdint>
#include <string>

namespace transcoda {

class ProgressHandler {
public:
    void HandleOutputChunk(const std::string& chunk);

    // State of the current run; a new handler starts afresh for every run.
    int32_t RunDuration = -2;        // duration printed by this run's own tool, hundredths
    std::string PercentText = "null";
    int32_t ToolPercent = 0;
    double PositionPercent = 0.0;
    int32_t ReaderBarPosition = 0;   // the bar position last asked for

private:
    void ShowPercent(double percent);
};

// Sets the bar to `position` (clamped to 0..maximum), except that a 0 leaves a bar that
// stands strictly between 0 and its maximum where it is.
void ApplyReaderBar(int position);

// The idle look after a run: title "Transcoda 1.0", bar 0, "Ready"/"Prêt", empty
// progress label.
void ResetProgressDisplay();

}  // namespace transcoda
