#pragma once
// What a tool read back of the media file it wrote (or, when it only described an
// input, of that input): whether the file can be read, and how long each of its picture
// and sound streams lasts. A tool prints it as the last line of its output; the core
// finds it there. This header is the one home of that line's form, shared by both.

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace transcoda {

enum class StreamKind { Video, Audio };

struct StreamSpan {
    StreamKind Kind = StreamKind::Video;
    double Seconds = -1.0;  // negative when the length could not be found
};

// For a segment cut from a source, whether the first and last pictures written are the
// source's pictures at the segment's start and end.
enum class PictureContent { Unchecked, Same, Different };

struct StreamReport {
    bool Readable = false;
    std::vector<StreamSpan> Streams;
    PictureContent Content = PictureContent::Unchecked;

    bool Has(StreamKind kind) const {
        for (const StreamSpan& s : Streams)
            if (s.Kind == kind) return true;
        return false;
    }
    // The first stream of that kind (the one the tools take); negative when there is
    // none or its length is not known.
    double First(StreamKind kind) const {
        for (const StreamSpan& s : Streams)
            if (s.Kind == kind) return s.Seconds;
        return -1.0;
    }
    // The longest stream of that kind; negative when there is none or no length is known.
    double Longest(StreamKind kind) const {
        double longest = -1.0;
        for (const StreamSpan& s : Streams)
            if (s.Kind == kind && s.Seconds > longest) longest = s.Seconds;
        return longest;
    }
};

inline constexpr std::string_view kStreamReportMarker = "transcoda-streams:";

// "transcoda-streams: readable video=60.040 audio=60.029", "video=?" for a stream of
// unknown length, then "content=same" or "content=different" when a segment's pictures
// were compared; or "transcoda-streams: unreadable". No word of it is one that the
// progress parsers look for.
inline std::string FormatStreamReport(const StreamReport& report) {
    std::string line(kStreamReportMarker);
    if (!report.Readable) return line + " unreadable";
    line += " readable";
    for (const StreamSpan& s : report.Streams) {
        line += s.Kind == StreamKind::Video ? " video=" : " audio=";
        if (s.Seconds < 0) {
            line += "?";
        } else {
            char number[32];
            std::snprintf(number, sizeof number, "%.3f", s.Seconds);
            line += number;
        }
    }
    if (report.Content != PictureContent::Unchecked)
        line += report.Content == PictureContent::Same ? " content=same" : " content=different";
    return line;
}

// The last report line of a tool's output (it must begin a line); nullopt when there is
// none or it cannot be read. Numbers are read without regard to the locale.
inline std::optional<StreamReport> ParseStreamReport(std::string_view output) {
    std::string_view::size_type at = output.rfind(kStreamReportMarker);
    while (at != std::string_view::npos && at > 0 && output[at - 1] != '\n' && output[at - 1] != '\r')
        at = output.rfind(kStreamReportMarker, at - 1);
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view line = output.substr(at + kStreamReportMarker.size());
    line = line.substr(0, line.find_first_of("\r\n"));

    StreamReport report;
    std::vector<std::string_view> words;
    for (std::string_view::size_type pos = 0; pos < line.size();) {
        const auto start = line.find_first_not_of(' ', pos);
        if (start == std::string_view::npos) break;
        const auto end = line.find(' ', start);
        words.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
        pos = end == std::string_view::npos ? line.size() : end;
    }
    if (words.empty()) return std::nullopt;
    if (words[0] == "unreadable" && words.size() == 1) return report;
    if (words[0] != "readable") return std::nullopt;
    report.Readable = true;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string_view word = words[i];
        StreamSpan span;
        std::string_view value;
        if (word.starts_with("video=")) {
            span.Kind = StreamKind::Video;
            value = word.substr(6);
        } else if (word.starts_with("audio=")) {
            span.Kind = StreamKind::Audio;
            value = word.substr(6);
        } else if ((word == "content=same" || word == "content=different") && i + 1 == words.size()) {
            report.Content = word == "content=same" ? PictureContent::Same : PictureContent::Different;
            continue;
        } else {
            return std::nullopt;
        }
        if (value != "?") {
            double seconds = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
            if (error != std::errc() || end != value.data() + value.size() || !(seconds >= 0)) return std::nullopt;
            span.Seconds = seconds;
        }
        report.Streams.push_back(span);
    }
    return report;
}

}  // namespace transcoda
