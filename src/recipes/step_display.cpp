#include "recipes/step_display.h"

#include <unistd.h>

#include "exec/app_state.h"
#include "exec/window_port.h"

namespace transcoda {

std::string Localised(const char* french, const char* english) {
    return App().English() ? english : french;
}

void ShowStatusText(const std::string& text) {
    if (WindowPort* window = App().Window) window->SetStatusText(text);
}

void SetStepBarMaximum(int maximum) {
    if (WindowPort* window = App().Window) window->SetBarMaximum(maximum);
}

void EndStepDisplay() {
    WindowPort* window = App().Window;
    if (window == nullptr) return;
    window->SetBarPosition(0);
    window->SetStatusText(App().English() ? "Ready" : "Prêt");
    window->SetProgressText("");
}

void DeleteFileSilently(const std::string& path) {
    // unlink, not remove: a path that names a folder must be left alone.
    if (!path.empty()) ::unlink(path.c_str());
}

}  // namespace transcoda
