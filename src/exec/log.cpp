#include "exec/log.h"

#include "exec/app_state.h"
#include "exec/window_port.h"

namespace transcoda {

namespace {
void Write(const std::string& marker, const std::string& message) {
    AppState& app = App();
    if (!app.DebugMode || app.Window == nullptr) return;
    app.Window->AppendLog(app.Window->LogStamp(marker) + message);
}
}  // namespace

void LogEvent(const std::string& message) { Write("** ", message); }
void LogError(const std::string& message) { Write(">> ", message); }

void LogPlain(const std::string& line) {
    AppState& app = App();
    if (!app.DebugMode || app.Window == nullptr) return;
    app.Window->AppendLog(line);
}

}  // namespace transcoda
