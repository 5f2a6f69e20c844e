#include "exec/progress_handler.h"

#include <algorithm>

#include "exec/app_state.h"
#include "exec/conversion_session.h"
#include "exec/language.h"
#include "exec/output_parsers.h"

namespace transcoda {

namespace {

// The bar rule without the push: a 0 leaves a bar under way where it is.
void SetReaderBar(ProgressDisplay& display, int position) {
    const int current = display.BarPosition();
    if (current > 0 && current < display.BarMaximum() && position == 0) return;
    display.SetBarPosition(position);
}

}  // namespace

void ApplyReaderBar(ProgressDisplay& display, int position) {
    SetReaderBar(display, position);
    display.Push();
}

DisplayChange IdleLook() {
    DisplayChange look;
    look.Title = kApplicationTitle;
    look.BarPosition = 0;
    look.StatusText = ReadyText();
    look.ProgressText = "";
    return look;
}

void ResetProgressDisplay(ProgressDisplay& display) {
    display.SetTitle(kApplicationTitle);
    display.SetBarPosition(0);
    display.SetStatusText(ReadyText());
    display.SetProgressText("");
    display.Push();
}

double ProgressHandler::ShowPercent(double percent) {
    // A tool's figure that goes back (a time past the duration held at 99 %, a negative
    // start time, a status line out of order) is not shown: the percentage shown, the
    // list's and the time left never step back.
    StepPercent = std::max(StepPercent, percent);
    session_.Timing().StepProgress(StepPercent / 100.0);
    const double shown = session_.Timing().ShownPercent(StepPercent);
    const std::string text = FormatTwoDecimals(shown) + "% " + session_.Progress.ItemCounterText;
    session_.Display().SetProgressText("Progression : " + text);
    session_.Display().SetTitle(text);
    session_.Percent().Tell(shown);
    return shown;
}

void ProgressHandler::FollowShownPercent(double shown) {
    if (!session_.Timing().ShowsRequestPercent()) return;
    ProgressDisplay& display = session_.Display();
    ReaderBarPosition = static_cast<int32_t>(display.BarMaximum() * shown / 100.0 + 1e-9);
    SetReaderBar(display, ReaderBarPosition);
}

void ProgressHandler::ShowTimeBranch(int32_t t) {
    // Time branch: the tool's time against the duration it printed.
    ProgressDisplay& display = session_.Display();
    double pct = static_cast<double>(t) * 100.0 / RunDuration;
    if (pct > 100.0) pct = 99.0;
    if (pct < 0.0) pct = 0.0;  // tools print slightly negative times at the start
    const double shown = ShowPercent(pct);
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
    FollowShownPercent(shown);
}

void ProgressHandler::ShowPercentageBranch() {
    // Percentage branch: the tool's own percentage, or the position against the probed
    // duration while the tool says 0 %.
    const ProgressState& progress = session_.Progress;
    ProgressDisplay& display = session_.Display();
    if (ToolPercent == 0 && progress.InputDurationCs > 0)
        PositionPercent = static_cast<double>(progress.PositionCs) * 100.0 / progress.InputDurationCs;
    if (ToolPercent >= 99) ToolPercent = 99;
    if (PositionPercent >= 99.0) PositionPercent = 99.0;
    const int bar = display.BarPosition();
    const int maximum = display.BarMaximum();
    if (ToolPercent > 0 || progress.PositionCs < 0) {
        const double shown = ShowPercent(ToolPercent);
        if (bar < maximum) {
            const long long n = static_cast<long long>(maximum) * ToolPercent / 100;
            if (n != bar) ReaderBarPosition = static_cast<int32_t>(n);
            SetReaderBar(display, ReaderBarPosition);
        } else {
            ReaderBarPosition = maximum;
            SetReaderBar(display, ReaderBarPosition);
        }
        FollowShownPercent(shown);
    } else if (progress.InputDurationCs > 0) {
        const double shown = ShowPercent(PositionPercent);
        if (bar < maximum) {
            const long long n = static_cast<long long>(maximum) * progress.PositionCs / progress.InputDurationCs;
            if (n != bar) {
                ReaderBarPosition = static_cast<int32_t>(n > maximum ? maximum : n);
                if (n == 0 && PositionPercent > 0.0) ReaderBarPosition = 1;
                SetReaderBar(display, ReaderBarPosition);
            }
        } else {
            ReaderBarPosition = maximum;
            SetReaderBar(display, ReaderBarPosition);
        }
        FollowShownPercent(shown);
    } else {
        // No duration known: the seconds processed so far.
        const std::string seconds = std::to_string(progress.PositionCs / 100);
        display.SetProgressText("Progression : " + seconds +
                                Localised(" secondes traitées ", " seconds processed ") + progress.ItemCounterText);
        display.SetTitle(seconds + " s " + progress.ItemCounterText);
        ReaderBarPosition = 1;
        SetReaderBar(display, ReaderBarPosition);
    }
}

void ProgressHandler::ShowActivity() {
    // Nothing recognised: the bar moves on as an activity indicator.
    ProgressDisplay& display = session_.Display();
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

void ProgressHandler::HandleOutputChunk(const std::string& chunk) {
    ProgressState& progress = session_.Progress;
    ProgressDisplay& display = session_.Display();

    // The input's duration: the first chunk that gives a positive one fixes it.
    if (progress.DurationText.empty()) {
        progress.DurationText = chunk;
        progress.InputDurationCs = HmsToHundredths(ParseDurationField(chunk));
        if (progress.InputDurationCs <= 0) progress.DurationText.clear();
    }
    // The duration this run's tool prints about its own input.
    if (RunDuration == -2) {
        const int32_t d = HmsToHundredths(ParseDurationField(chunk));
        if (progress.InputDurationCs == kNotProbed) progress.InputDurationCs = d;
        if (d > 0) RunDuration = d;
    }
    const int32_t t = DotlessNumber(ParseTimeField(chunk));
    int32_t position = progress.PositionCs;
    PercentText = ParsePosField(chunk, position);
    progress.PositionCs = position;

    int32_t percentValue = 0;
    if (t != -1 && RunDuration != -2) {
        ShowTimeBranch(t);
    } else if (PercentText != "null" && !PercentText.empty() && ParseWholeNumber(PercentText, percentValue)) {
        ToolPercent = percentValue;
        ShowPercentageBranch();
    } else {
        ShowActivity();
    }
    // Everything this chunk changed, the time label included, reaches the window in one call.
    session_.Timing().UpdateTimeLabel();
    display.Push();
}

}  // namespace transcoda
