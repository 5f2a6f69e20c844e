#include "picture_shape.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace helpers {
namespace {

// An even number of pixels near `v`, at least 2: the sizes 4:2:0 pictures take.
int Even(double v) { return std::max(2, static_cast<int>(std::lround(v / 2)) * 2); }

bool QuarterTurn(int degrees) { return std::abs(degrees) % 180 == 90; }

}  // namespace

double DisplayAspect(const MediaInfo& in) {
    if (in.width <= 0 || in.height <= 0) return 0.0;
    const double sar = in.sampleAspect > 0 ? in.sampleAspect : 1.0;
    const double aspect = in.width * sar / in.height;
    return QuarterTurn(in.rotation) ? 1.0 / aspect : aspect;
}

std::optional<FrameSize> ParseFrameSize(const std::string& text) {
    static const std::pair<const char*, FrameSize> names[] = {
        {"sqcif", {128, 96}}, {"qcif", {176, 144}}, {"cif", {352, 288}},     {"4cif", {704, 576}},
        {"qqvga", {160, 120}}, {"qvga", {320, 240}}, {"vga", {640, 480}},    {"svga", {800, 600}},
        {"ntsc", {720, 480}},  {"pal", {720, 576}},  {"hd480", {852, 480}},  {"hd720", {1280, 720}},
        {"hd1080", {1920, 1080}}};
    for (const auto& [name, size] : names)
        if (text == name) return size;
    char* end = nullptr;
    const long w = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != 'x') return std::nullopt;
    const char* h0 = end + 1;
    const long h = std::strtol(h0, &end, 10);
    if (end == h0 || *end != '\0' || w <= 0 || h <= 0) return std::nullopt;
    return FrameSize{static_cast<int>(w), static_cast<int>(h)};
}

std::string FitIntoFrame(double aspect, FrameSize frame, double frameAspect, bool squarePixels) {
    const std::string w = std::to_string(frame.width), h = std::to_string(frame.height);
    const std::string mark = squarePixels ? ",setsar=1" : "";
    if (aspect <= 0 || frameAspect <= 0 || std::abs(aspect / frameAspect - 1) <= kShapeTolerance)
        return "scale=" + w + ":" + h + mark;
    // The part of the frame the picture fills, in the frame's own pixels.
    int cw = frame.width, ch = frame.height;
    if (aspect > frameAspect) ch = std::min(frame.height, Even(frame.height * frameAspect / aspect));
    else cw = std::min(frame.width, Even(frame.width * aspect / frameAspect));
    return "scale=" + std::to_string(cw) + ":" + std::to_string(ch) + ",pad=" + w + ":" + h +
           ":(ow-iw)/2:(oh-ih)/2" + mark;
}

std::string SquarePixels(const MediaInfo& in) {
    if (std::abs(in.sampleAspect - 1) <= 0.01) return "";
    // The engine turns the picture before the filters, and the aspect of its pixels
    // with it: the filter reads both from the picture it is given.
    return "scale=trunc(iw*sar/2)*2:ih,setsar=1";
}

std::string Deinterlace(const MediaInfo& in) {
    // "tb" and "bt" are written with either meaning by different muxers: the pictures'
    // own flags then tell which field comes first.
    const std::string& f = in.fieldOrder;
    if (f == "tt") return "yadif=mode=send_frame:parity=tff:deint=all";
    if (f == "bb") return "yadif=mode=send_frame:parity=bff:deint=all";
    if (f == "tb" || f == "bt") return "yadif=mode=send_frame:parity=auto:deint=all";
    return "";
}

std::string DvdAspect(double aspect) {
    // The shape halfway between the two (as a ratio) decides.
    return aspect >= std::sqrt(4.0 / 3.0 * 16.0 / 9.0) ? "16:9" : "4:3";
}

double DvdAspectValue(const std::string& dvdAspect) { return dvdAspect == "16:9" ? 16.0 / 9.0 : 4.0 / 3.0; }

std::string JoinFilters(const std::string& first, const std::string& second) {
    if (first.empty()) return second;
    if (second.empty()) return first;
    return first + "," + second;
}

}  // namespace helpers
