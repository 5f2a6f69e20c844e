#include "recipes/result_check.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "exec/language.h"

namespace transcoda {

namespace {

bool English() { return App().English(); }

// One decimal, with the decimal separator of the message's language.
std::string Seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string out = text;
    if (!English()) std::replace(out.begin(), out.end(), '.', ',');
    return out + " s";
}

double ReadNumber(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nan("");
    return value;
}

bool IsSoundPreset(const FormatEntry& entry) { return entry.Recipe == RecipeKind::Audio; }

// The extraction keeps whatever the input holds; every other preset but the sound ones
// makes a picture.
bool NeedsPicture(const FormatEntry& entry) {
    return !IsSoundPreset(entry) && entry.Recipe != RecipeKind::Extraction;
}

// The length of the input's stream of one kind that the tools take (the first), or of
// its picture when it has no sound (the silence written for it lasts as long). Each
// stream keeps its own length: a sound that stops before the picture is not expected
// to last as long as the picture, nor the other way round.
double InputLength(const StreamReport& input, StreamKind kind) {
    if (input.Has(kind)) return input.First(kind);
    return std::max(input.First(StreamKind::Video), input.First(StreamKind::Audio));
}

std::string LengthProblem(bool picture, double actual, double expected) {
    if (English())
        return std::string("the ") + (picture ? "picture" : "sound") + " of the file written lasts " +
               Seconds(actual) + " instead of " + Seconds(expected);
    return std::string(picture ? "l'image" : "le son") + " du fichier écrit dure " + Seconds(actual) +
           " au lieu de " + Seconds(expected);
}

}  // namespace

double SecondsOfClock(const std::string& text) {
    double total = 0;
    int parts = 0;
    std::string::size_type start = 0;
    for (;;) {
        const auto colon = text.find(':', start);
        const std::string part = text.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        const double value = ReadNumber(part);
        if (part.empty() || !(value >= 0) || ++parts > 3) return -1;
        total = total * 60 + value;
        if (colon == std::string::npos) return total;
        start = colon + 1;
    }
}

// A stream may differ from the expected length by half a second plus half a percent.
// The half second holds what honest conversions change at the ends of a stream: a
// frame-rate change rounds to whole frames (up to 0.1 s per end at the slowest preset
// rate, 10 frames a second), sound coders add their priming and pad their last frame
// (a few hundredths), containers round their timestamps, and a DVD program stream
// starts its sound and picture a few frames apart. The half percent lets long inputs
// through whose timestamps drift a little with a change of frame rate. What it catches
// is what matters: a picture or sound that stops early (12 s of 60) or a file cut short.
double LengthTolerance(double expectedSeconds) { return 0.5 + 0.005 * std::max(0.0, expectedSeconds); }

InputVerdict ExpectOutput(const FormatEntry& entry, const ConversionRequest& request, const StreamReport& input) {
    InputVerdict verdict;
    const bool video = input.Has(StreamKind::Video);
    const bool audio = input.Has(StreamKind::Audio);
    if (!input.Readable || (!video && !audio)) {
        // An input that went away since it was picked (a list kept across restarts) is
        // said as such, not taken for a damaged file.
        std::error_code ec;
        if (!std::filesystem::exists(request.InputPath, ec) && !ec) {
            verdict.Refusal = Localised("le fichier d'entrée n'existe plus (déplacé ou supprimé)",
                                        "the input file no longer exists (moved or deleted)");
            return verdict;
        }
        verdict.Refusal = Localised("le fichier d'entrée ne peut pas être lu (format inconnu ou fichier abîmé)",
                                    "the input file cannot be read (unknown format or damaged file)");
        return verdict;
    }
    // Not one timestamped packet in the whole file (the length of every stream is
    // unknown): there is nothing to convert, and an engine given such an input either
    // fails with its own words or waits for pictures that never come.
    if (input.Longest(StreamKind::Video) < 0 && input.Longest(StreamKind::Audio) < 0) {
        verdict.Refusal = Localised("le fichier d'entrée ne contient ni image ni son à lire : ses pistes sont vides",
                                    "the input holds no picture and no sound to read: its streams are empty");
        return verdict;
    }
    if (NeedsPicture(entry) && !video) {
        verdict.Refusal =
            Localised("le fichier d'entrée ne contient que du son, et ce format de sortie demande une image",
                      "the input holds only sound, and this output format needs a picture");
        return verdict;
    }
    if (IsSoundPreset(entry) && !audio) {
        verdict.Refusal = Localised("le fichier d'entrée ne contient pas de son", "the input holds no sound");
        return verdict;
    }

    Expectation& e = verdict.Expected;
    e.NeedVideo = video && !IsSoundPreset(entry);
    e.NeedAudio = audio;
    e.Video = InputLength(input, StreamKind::Video);
    e.Audio = InputLength(input, StreamKind::Audio);

    if (entry.Recipe == RecipeKind::Extraction) {
        const double start = SecondsOfClock(request.Special.ExtractionStart);
        const double length = SecondsOfClock(request.Special.ExtractionLength);
        const double inputLength = std::max(input.Longest(StreamKind::Video), input.Longest(StreamKind::Audio));
        if (start >= 0 && inputLength >= 0 && start >= inputLength) {
            verdict.Refusal = English() ? "the segment to extract starts after the end of the input, which lasts " +
                                              Seconds(inputLength)
                                        : "le passage à extraire commence après la fin du fichier d'entrée, qui dure " +
                                              Seconds(inputLength);
            return verdict;
        }
        for (double* kind : {&e.Video, &e.Audio}) {
            if (*kind < 0 || start < 0 || length < 0) *kind = -1;
            else *kind = std::min(length, std::max(0.0, *kind - start));
        }
        // Picture and sound must both last the whole segment: the tools cut a copied
        // picture exactly, whatever the spacing of its key frames.
    } else if (entry.Recipe == RecipeKind::SyncCorrection) {
        // A positive lag brings the sound forward (its start is cut), a negative one
        // delays it (silence comes first): the sound lasts its length minus the lag.
        // A lag as long as the sound would leave none of it.
        const double lag = ReadNumber(request.Special.SyncDelay);
        if (audio && e.Audio >= 0 && std::isfinite(lag) && lag >= e.Audio) {
            verdict.Refusal =
                English() ? "the lag asked for (" + Seconds(lag) + ") is not shorter than the sound of the input, "
                                "which lasts " + Seconds(e.Audio) + ": none of it would be left"
                          : "le décalage demandé (" + Seconds(lag) + ") n'est pas plus court que le son du fichier "
                                "d'entrée, qui dure " + Seconds(e.Audio) + " : il n'en resterait rien";
            return verdict;
        }
        if (e.Audio >= 0) e.Audio = std::isfinite(lag) ? std::max(0.0, e.Audio - lag) : -1;
    }
    return verdict;
}

std::string CheckWritten(const StreamReport& written, const Expectation& expected, Writes writes) {
    if (writes == Writes::Nothing) return {};
    if (!written.Readable)
        return Localised("le fichier écrit ne peut pas être relu", "the file written cannot be read back");
    const bool needVideo = writes == Writes::Picture || (writes == Writes::Media && expected.NeedVideo);
    const bool needAudio = writes == Writes::Sound || (writes == Writes::Media && expected.NeedAudio);
    if (needVideo && !written.Has(StreamKind::Video))
        return Localised("le fichier écrit ne contient pas d'image", "the file written holds no picture");
    if (needAudio && !written.Has(StreamKind::Audio))
        return Localised("le fichier écrit ne contient pas de son", "the file written holds no sound");
    for (const StreamSpan& stream : written.Streams) {
        const bool picture = stream.Kind == StreamKind::Video;
        const double want = picture ? expected.Video : expected.Audio;
        if (want < 0) continue;
        if (stream.Seconds < 0 || std::abs(want - stream.Seconds) > LengthTolerance(want))
            return LengthProblem(picture, std::max(0.0, stream.Seconds), want);
    }
    if (written.Content == PictureContent::Different)
        return Localised("la première ou la dernière image du fichier écrit n'est pas celle du fichier d'entrée au "
                         "début ou à la fin du passage demandé",
                         "the first or last picture of the file written is not the input's picture at the start "
                         "or end of the segment asked for");
    return {};
}

}  // namespace transcoda
