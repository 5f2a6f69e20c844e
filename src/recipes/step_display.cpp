#include "recipes/step_display.h"

#include <unistd.h>

#include "exec/progress_display.h"
#include "exec/progress_handler.h"

namespace transcoda {

void ShowStatusText(ProgressDisplay& display, const std::string& text) {
    display.SetStatusText(text);
    display.Push();
}

void SetStepBarMaximum(ProgressDisplay& display, int maximum) {
    display.SetBarMaximum(maximum);
    display.Push();
}

void EndStepDisplay(ProgressDisplay& display) { ResetProgressDisplay(display); }

void DeleteFileSilently(const std::string& path) {
    // unlink, not remove: a path that names a folder must be left alone.
    if (!path.empty()) ::unlink(path.c_str());
}

}  // namespace transcoda
