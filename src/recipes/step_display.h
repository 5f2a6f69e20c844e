#pragma once
// The window changes that every recipe step makes, through the core's display.

#include <string>

#include "exec/progress_display.h"

namespace transcoda {

// The status text (statusLabel).
void ShowStatusText(ProgressDisplay& display, const std::string& text);
// The maximum of the progress bar.
void SetStepBarMaximum(ProgressDisplay& display, int maximum);
// End of every step: the idle look (bar at 0, status "Ready"/"Prêt", empty progress label).
void EndStepDisplay(ProgressDisplay& display);

// Removes one file, ignoring every failure (missing, locked, or a folder).
void DeleteFileSilently(const std::string& path);

}  // namespace transcoda
