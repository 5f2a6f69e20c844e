#pragma once
// Whether a segment cut from a source holds the source's pictures at its ends: the first
// and last pictures of the written file are decoded, shrunk to small grey thumbnails and
// compared with the source's pictures at the segment's start and end. Length alone
// cannot tell a segment cut from the wrong place; its pictures can.

#include <optional>
#include <string>
#include <vector>

#include "exec/stream_report.h"

namespace helpers {

// A picture shrunk to kThumbnailSide x kThumbnailSide grey levels (0 to 255), each the
// mean of the luma under it. The grid is the same whatever the picture's size and
// shape, so that a segment scaled or stretched on the way compares with its source.
inline constexpr int kThumbnailSide = 32;
using Thumbnail = std::vector<float>;

// The mean absolute difference of two thumbnails, in grey levels (0 to 255).
double ThumbnailDifference(const Thumbnail& a, const Thumbnail& b);

// The largest difference at which two pictures are taken for the same one. Over the
// right cuts of bench/segment_cuts.sh (copies, smart cuts, pictures coded again, the
// camcorder segment scaled and coded to MPEG, recorded clips), the ends differ by 0.06
// grey levels at the median and 0.42 at most; the same segment moved 1 s or 5 s differs
// by 5.06 at least and 10.2 at the median. The limit lies well above the first, for
// codings coarser than those measured, and below the second.
inline constexpr double kSamePictureLimit = 3.0;

// Which picture of a file to read.
enum class PictureAt { First, Time, Last };

// The part of a picture that is compared, as fractions of its width and height: the
// whole of it, or the picture between the black bars that a fixed frame added.
struct PictureArea {
    double left = 0.0, top = 0.0, width = 1.0, height = 1.0;
};

// Where a picture shown as `pictureAspect` lies in a frame shown as `frameAspect` when it
// was fitted between bars (see picture_shape.h); the whole frame when the two shapes
// agree or one is unknown.
PictureArea AreaWithinBars(double pictureAspect, double frameAspect);

// The thumbnail of the first picture stream's first picture, its last one, or its first
// picture at or after `seconds` (counted from the start of the file, as the engine's -ss
// counts, which keeps the pictures from there);
// nullopt when the file cannot be decoded or its pictures are in a form not read here.
std::optional<Thumbnail> ReadThumbnail(const std::string& path, PictureAt which, double seconds = 0.0,
                                       PictureArea area = {});
// Up to `count` pictures from there on (for Last, the last `count`), in order; none when
// the file cannot be decoded or its pictures are in a form not read here.
std::vector<Thumbnail> ReadThumbnails(const std::string& path, PictureAt which, double seconds, size_t count,
                                      PictureArea area = {});

struct SegmentPictures {
    bool checked = false;  // false: a picture could not be read on either side
    double first = -1.0;   // difference of the first pictures
    double last = -1.0;    // difference of the last pictures
    double milliseconds = 0.0;
    bool Same() const { return !checked || (first <= kSamePictureLimit && last <= kSamePictureLimit); }
};

// Compares the first and last pictures of `written` (between its bars, when the tool
// fitted the source's picture into a frame of another shape) with the source's pictures at `start`
// and at the last frame before `start + length` (or the source's last picture, when the
// segment runs past its end), each to within a frame. A negative length runs to the end
// of the source.
SegmentPictures CompareSegmentPictures(const std::string& written, const std::string& source, double start,
                                       double length);

// The same in two halves: the source's pictures at the segment's ends, which do not
// depend on what is written (a tool reads them while its engine runs), then the written
// file's compared with them.
struct SourcePictures {
    std::vector<Thumbnail> first, last;
    double milliseconds = 0.0;
};
SourcePictures ReadSourcePictures(const std::string& source, double start, double length);
SegmentPictures CompareWithSource(const std::string& written, const std::string& source,
                                  const SourcePictures& pictures);

// The verdict the tool reports (exec/stream_report.h).
inline transcoda::PictureContent ContentVerdict(const SegmentPictures& compared) {
    if (!compared.checked) return transcoda::PictureContent::Unchecked;
    return compared.Same() ? transcoda::PictureContent::Same : transcoda::PictureContent::Different;
}

// "pictures: first 1.2, last 0.8 grey levels apart (same at 6 or less), 35 ms", said on
// the tool's output.
std::string DescribeComparison(const SegmentPictures& compared);

}  // namespace helpers
