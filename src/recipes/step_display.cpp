#include "recipes/step_display.h"

#include <unistd.h>

#include "exec/progress_display.h"
#include "exec/progress_handler.h"

namespace transcoda {

void ShowStatusText(const std::string& text) {
    Display().SetStatusText(text);
    Display().Push();
}

void SetStepBarMaximum(int maximum) {
    Display().SetBarMaximum(maximum);
    Display().Push();
}

void EndStepDisplay() { ResetProgressDisplay(); }

void DeleteFileSilently(const std::string& path) {
    // unlink, not remove: a path that names a folder must be left alone.
    if (!path.empty()) ::unlink(path.c_str());
}

}  // namespace transcoda
