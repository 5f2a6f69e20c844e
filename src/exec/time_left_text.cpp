#include "exec/time_left_text.h"

#include "exec/clock_text.h"
#include "exec/language.h"

namespace transcoda {

namespace {

// Whole seconds rounded to the nearest multiple of step.
int64_t RoundedSeconds(int64_t ms, int64_t step) {
    const int64_t stepMs = step * 1000;
    return (ms + stepMs / 2) / stepMs * step;
}

// "1 min 20 s", "2 min", "12 min", "1 h 05 min" for a rounded number of seconds.
std::string MinutesWords(int64_t seconds) {
    const int64_t hours = seconds / 3600;
    const int64_t minutes = seconds / 60 % 60;
    const int64_t rest = seconds % 60;
    if (hours > 0) return std::to_string(hours) + " h " + TwoDigitText(minutes) + " min";
    if (rest == 0) return std::to_string(minutes) + " min";
    return std::to_string(minutes) + " min " + TwoDigitText(rest) + " s";
}

std::string Left(const std::string& words) { return Localised("reste " + words, words + " left"); }

}  // namespace

std::string ElapsedWords(int64_t ms) {
    const int64_t seconds = ms < 0 ? 0 : ms / 1000;
    const int64_t hours = seconds / 3600;
    const int64_t minutes = seconds / 60 % 60;
    const std::string tail = TwoDigitText(seconds % 60) + " s";
    if (hours > 0) return std::to_string(hours) + " h " + TwoDigitText(minutes) + " min " + tail;
    return std::to_string(minutes) + " min " + tail;
}

std::string RemainingWords(int64_t ms) {
    if (ms < 5000) return Localised("moins de 5 s", "less than 5 s left");
    // Each range is taken by the rounded value, so 57.6 s reads "1 min", not "60 s".
    if (RoundedSeconds(ms, 5) < 60) {
        const std::string seconds = std::to_string(RoundedSeconds(ms, 5));
        return Localised("reste environ " + seconds + " s", "about " + seconds + " s left");
    }
    if (RoundedSeconds(ms, 10) < 600) return Left(MinutesWords(RoundedSeconds(ms, 10)));
    return Left(MinutesWords(RoundedSeconds(ms, 60)));
}

std::string TimeLabelText(int64_t elapsedMs, std::optional<int64_t> remainingMs) {
    std::string text = Localised("écoulé ", "elapsed ") + ElapsedWords(elapsedMs);
    if (remainingMs) text += " — " + RemainingWords(*remainingMs);
    return text;
}

}  // namespace transcoda
