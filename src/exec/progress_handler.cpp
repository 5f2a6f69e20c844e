#include "exec/progress_handler.h"

#include "exec/app_state.h"
#include "exec/language.h"
#include "exec/output_parsers.h"
#include "exec/progress_display.h"
#include "exec/request_timing.h"

namespace transcoda {

namespace {

// The bar rule without the push: a 0 leaves a bar under way where it is.
void SetReaderBar(ProgressDisplay& display, int position) {
    const int current = display.BarPosition();
    if (current > 0 && current < display.BarMaximum() && position == 0) return;
    display.SetBarPosition(position);
}

}  // namespace

void ApplyReaderBar(int position) {
    SetReaderBar(Display(), position);
    Display().Push();
}

void ResetProgressDisplay() {
    ProgressDisplay& display = Display();
    display.SetTitle(kApplicationTitle);
    display.SetBarPosition(0);
    display.SetStatusText(ReadyText());
    display.SetProgressText("");
    display.Push();
}

void ProgressHandler::ShowPercent(double percent) {
    AppState& app = App();
    const std::string text = FormatTwoDecimals(percent) + "% " + app.ItemCounterText;
    Display().SetProgressText("Progression : " + text);
    Display().SetTitle(text);
    TimedStepProgress(percent / 100.0);
}

void ProgressHandler::HandleOutputChunk(const std::string& chunk) {
    AppState& app = App();
    ProgressDisplay& display = Display();

    // The input's duration: the first chunk that gives a positive one fixes it.
    if (app.DurationText.empty()) {
        app.DurationText = chunk;
        app.InputDurationCs = HmsToHundredths(ParseDurationField(chunk));
        if (app.InputDurationCs <= 0) app.DurationText.clear();
    }
    // The duration this run's tool prints about its own input.
    if (RunDuration == -2) {
        const int32_t d = HmsToHundredths(ParseDurationField(chunk));
        if (app.InputDurationCs == kNotProbed) app.InputDurationCs = d;
        if (d > 0) RunDuration = d;
    }
    const int32_t t = DotlessNumber(ParseTimeField(chunk));
    int32_t position = app.PositionCs;
    PercentText = ParsePosField(chunk, position);
    app.PositionCs = position;

    if (app.Window == nullptr) return;

    int32_t percentValue = 0;
    if (t != -1 && RunDuration != -2) {
        // Time branch: the tool's time against the duration it printed.
        double pct = static_cast<double>(t) * 100.0 / RunDuration;
        if (pct > 100.0) pct = 99.0;
        if (pct < 0.0) pct = 0.0;  // tools print slightly negative times at the start
        ShowPercent(pct);
        const int bar = display.BarPosition();
        const int maximum = display.BarMaximum();
        if (bar < maximum) {
            const long long n = static_cast<long long>(maximum) * t / RunDuration;
            if (n != bar) {
                ReaderBarPosition = static_cast<int32_t>(n < 0 ? 0 : (n > maximum ? maximum : n));
                SetReaderBar(display, ReaderBarPosition);
            }
        } else {
            ReaderBarPosition = maximum;
            SetReaderBar(display, ReaderBarPosition);
        }
    } else if (PercentText != "null" && !PercentText.empty() && ParseWholeNumber(PercentText, percentValue)) {
        // Percentage branch: the tool's own percentage, or the position against the
        // probed duration while the tool says 0 %.
        ToolPercent = percentValue;
        if (ToolPercent == 0 && app.InputDurationCs > 0)
            PositionPercent = static_cast<double>(app.PositionCs) * 100.0 / app.InputDurationCs;
        if (ToolPercent >= 99) ToolPercent = 99;
        if (PositionPercent >= 99.0) PositionPercent = 99.0;
        const int bar = display.BarPosition();
        const int maximum = display.BarMaximum();
        if (ToolPercent > 0 || app.PositionCs < 0) {
            ShowPercent(ToolPercent);
            if (bar < maximum) {
                const long long n = static_cast<long long>(maximum) * ToolPercent / 100;
                if (n != bar) ReaderBarPosition = static_cast<int32_t>(n);
                SetReaderBar(display, ReaderBarPosition);
            } else {
                ReaderBarPosition = maximum;
                SetReaderBar(display, ReaderBarPosition);
            }
        } else if (app.InputDurationCs > 0) {
            ShowPercent(PositionPercent);
            if (bar < maximum) {
                const long long n = static_cast<long long>(maximum) * app.PositionCs / app.InputDurationCs;
                if (n != bar) {
                    ReaderBarPosition = static_cast<int32_t>(n > maximum ? maximum : n);
                    if (n == 0 && PositionPercent > 0.0) ReaderBarPosition = 1;
                    SetReaderBar(display, ReaderBarPosition);
                }
            } else {
                ReaderBarPosition = maximum;
                SetReaderBar(display, ReaderBarPosition);
            }
        } else {
            // No duration known: the seconds processed so far.
            const std::string seconds = std::to_string(app.PositionCs / 100);
            display.SetProgressText("Progression : " + seconds +
                                    Localised(" secondes traitées ", " seconds processed ") + app.ItemCounterText);
            display.SetTitle(seconds + " s " + app.ItemCounterText);
            ReaderBarPosition = 1;
            SetReaderBar(display, ReaderBarPosition);
        }
    } else {
        // Nothing recognised: the bar moves on as an activity indicator.
        const int bar = display.BarPosition();
        const int maximum = display.BarMaximum();
        if (bar < maximum) {
            const std::string caption = display.ProgressText();
            const bool hasPercent = caption.find('%') != std::string::npos;
            const bool hasSecond = caption.find("second") != std::string::npos;
            if (!hasPercent && !hasSecond) {
                ReaderBarPosition = bar + 1;
                SetReaderBar(display, ReaderBarPosition);
            }
            if (hasSecond) {
                ReaderBarPosition = 1;
                SetReaderBar(display, ReaderBarPosition);
            }
        } else {
            ReaderBarPosition = 1;
            SetReaderBar(display, ReaderBarPosition);
        }
    }
    // Everything this chunk changed, the time label included, reaches the window in one call.
    UpdateTimeLabel();
    display.Push();
}

}  // namespace transcoda
