#pragma once
// The shape of a picture as it is shown, and the engine's filters that keep it when the
// picture is encoded again: brought into a frame of a fixed size (scaled to fill it when
// the shapes agree, else scaled to fit between black bars), made of square pixels where
// the size is the picture's own, and deinterlaced for a progressive target.

#include <optional>
#include <string>

#include "media_probe.h"

namespace helpers {

// Two shapes whose width-over-height ratios differ by no more than this share count as
// one: the picture is then scaled to fill the frame, stretched by at most that much.
inline constexpr double kShapeTolerance = 0.03;

// Width over height of the picture as shown: its stored size, the aspect of its pixels,
// and a quarter turn of its display matrix. 0 when the size is unknown.
double DisplayAspect(const MediaInfo& in);

struct FrameSize {
    int width = 0;
    int height = 0;
};

// "640x480", or one of the engine's names of a size ("qcif", "cif" ...); nullopt for
// anything else.
std::optional<FrameSize> ParseFrameSize(const std::string& text);

// Filters that bring a picture shown as `aspect` into `frame`, whose whole shows as
// `frameAspect`. squarePixels: the frame's pixels are square, and are marked so.
std::string FitIntoFrame(double aspect, FrameSize frame, double frameAspect, bool squarePixels);

// Filters that make the pixels of a picture kept at its own size square, keeping its
// height; empty when they are square already.
std::string SquarePixels(const MediaInfo& in);

// The filter that makes whole pictures of an interlaced picture, in the field order the
// stream gives (or its pictures, where the stream's word is ambiguous); empty for a
// picture the stream does not say is interlaced.
std::string Deinterlace(const MediaInfo& in);

// The aspect a DVD title takes for a picture shown as `aspect`: "16:9" for wide
// pictures, "4:3" for the others; and the same as a number.
std::string DvdAspect(double aspect);
double DvdAspectValue(const std::string& dvdAspect);

// Filter chains joined in order, the empty ones left out.
std::string JoinFilters(const std::string& first, const std::string& second);

}  // namespace helpers
