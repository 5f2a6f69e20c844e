// Runs one tool command line the way the program runs a step: through the process
// runner, its output read by the pipe reader and turned into progress for a window that
// only takes it in. Ends with the tool's exit status, so that the step benchmark times
// a tool run with everything the program adds around it.
//   run_as_program WORK_FOLDER "<tool path> <arguments>"
// WORK_FOLDER (with its "/") plays the instance's work folder: its probe cache is the
// one the tool is given.
// (Not named bench_*: "make bench" runs those without arguments.)

#include <cstdio>
#include <string>

#include "exec/app_state.h"
#include "exec/progress_display.h"
#include "exec/run_tool.h"
#include "exec/window_port.h"

namespace {

using namespace transcoda;

// A window that shows nothing and is never slow.
class NoWindow : public WindowPort {
public:
    void ShowDisplay(const DisplayChange&) override {}
    void SetActionText(const std::string&) override {}
    void ShowMessage(const std::string&) override {}
    void AppendLog(const std::string&) override {}
    std::string LogStamp(const std::string& marker) override { return marker; }
    bool RestoreConvertButton(bool) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WORK_FOLDER \"<tool path> <arguments>\"\n", argv[0]);
        return 2;
    }
    NoWindow window;
    AttachWindow(&window);
    App().WorkFolder = argv[1];
    ConversionSession session;
    const ToolOutcome outcome = RunTool(session, argv[2]);
    AttachWindow(nullptr);
    return outcome.Ending == ToolOutcome::End::Exited ? outcome.Code : 1;
}
