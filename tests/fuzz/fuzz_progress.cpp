// Arbitrary tool output through the chunk conversion, every parser and the progress
// handler. Nothing may crash, overflow or read out of bounds, and the bar must stay
// within its range.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "exec/app_state.h"
#include "exec/output_parsers.h"
#include "exec/tool_output_reader.h"
#include "exec/conversion_session.h"
#include "exec/progress_handler.h"
#include "exec/window_port.h"

namespace {

using namespace transcoda;

class QuietWindow : public WindowPort {
public:
    void ShowDisplay(const DisplayChange& c) override {
        if (c.BarMaximum) maximum = *c.BarMaximum;
        if (c.BarPosition) {
            if (*c.BarPosition < 0 || *c.BarPosition > maximum) std::abort();
            bar = *c.BarPosition;
        }
    }
    void SetActionText(const std::string&) override {}
    void ShowMessage(const std::string&) override {}
    void AppendLog(const std::string&) override {}
    std::string LogStamp(const std::string& marker) override { return marker; }
    bool RestoreConvertButton(bool) override { return true; }

    int bar = 0, maximum = 100;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuietWindow window;
    ConversionSession session;
    session.Display().SetObserver([&window](const DisplayChange& c) { window.ShowDisplay(c); });
    if (size == 0) return 0;

    // The first byte chooses the starting state; the rest is split into chunks at 0xFF.
    const uint8_t mode = data[0];
    App().CurrentLanguage = (mode & 1) ? "EN" : "FR";
    session.Progress.ItemCounterText = (mode & 2) ? "(2/3)" : "";
    session.Progress.InputDurationCs = (mode & 4) ? 8345 : kNotProbed;
    session.Progress.DurationText = (mode & 4) ? "probed" : "";
    session.Display().SetBarPosition((mode >> 3) % 101);
    session.Display().SetProgressText("");

    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    int32_t position = 0;
    ParseDurationField(text);
    ParseTimeField(text);
    ParsePosField(text, position);
    HmsToHundredths(text);
    DotlessNumber(text);

    ProgressHandler handler(session);
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = text.find('\xff', begin);
        if (end == std::string::npos) end = text.size();
        const std::string chunk = ChunkFromBytes(text.data() + begin, end - begin);
        handler.HandleOutputChunk(chunk);
        begin = end + 1;
    }
    return 0;
}
