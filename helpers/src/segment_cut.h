#pragma once
// Cutting a segment whose picture is copied, exactly. A copied picture can only begin on
// a key frame; a segment that starts between two has its picture start at the asked
// time anyway, in one of three ways:
//   - copy:      the start falls on a key frame, the picture is copied from there;
//   - smart cut: the frames from the start up to the next key frame are coded again with
//                the source's own codec and the rest is copied, when the codec's stream
//                can carry the two parts one after the other (its key frames repeat the
//                sequence header, no frames are stored out of order);
//   - re-code:   otherwise the segment's whole picture is coded again with the source's
//                codec, at a quality that keeps it as close to the source as a copy (an
//                SSIM within 0.01 of it).
// The key frames are found in the tool, from the packets, with the engine's libraries.

#include <string>
#include <vector>

#include "containers.h"

namespace helpers {

// The picture stream of a source around a segment, from its packets. Times are seconds
// from the start of the file, as the engine's -ss counts them.
struct SegmentFrames {
    bool known = false;         // the picture stream's packets could be read
    double keyBefore = -1.0;    // the last key frame at or before the start; -1: not found
    double nextKey = -1.0;      // the first key frame at or after the start; -1: none before the end
    double nextKeyDecoded = -1.0;  // its decoding time (the engine cuts a copy by decoding times)
    double copyFrom = -1.0;        // halfway between the decoding times of that key frame and the frame before
    int headFrames = 0;         // the frames from the start up to that key frame
    bool reordered = false;     // frames are stored out of presentation order (B-frames)
    bool keyRepeatsHeader = false;  // that key frame carries the stream's sequence header
};

// Reads the packets of the first picture stream of `path` from the key frame before
// `start` on, up to the key frame after it (or `end`, when the segment ends first; a
// negative end is the end of the file).
SegmentFrames ScanSegmentFrames(const std::string& path, double start, double end);

enum class SegmentWay { Copy, SmartCut, Recode };

struct SegmentPlan {
    SegmentWay way = SegmentWay::Copy;
    SegmentFrames frames;
    // The engine's picture options that code the head (smart cut) or the whole segment
    // (re-code) again with the source's codec: "-c:v", encoder, quality ...
    std::vector<std::string> recode;
};

// Chooses how the picture of `codec` from `input`, cut from `start` to `end` (negative:
// the end of the input), goes into an `output` file.
SegmentPlan PlanSegment(const std::string& input, const std::string& codec, const Container& output, double start,
                        double end);

// The engine's options that code a picture of `codec` again close to a copy; the
// container's own encoder at its finest for a codec that has no encoder here
// (`fallbackEncoder`).
std::vector<std::string> RecodeOptions(const std::string& codec, const std::string& fallbackEncoder);

// "the picture starts between key frames: ..." said on the tool's output.
std::string DescribeSegmentPlan(const SegmentPlan& plan, double start);

// Where the engine is asked to start reading an input so that it decodes the picture at
// `seconds` from a key frame before it: a second before the key frame, since the engine's
// seek on some containers lands a little off. Zero: from the start.
double DecodeFrom(const std::string& path, double seconds);
double DecodeFrom(const SegmentFrames& frames, double seconds);

// Where a copy is cut on the output side so that it keeps the key frame at `nextKey` and
// nothing before it: just before its decoding time, by which the engine cuts a copy.
double CopyFrom(const SegmentFrames& frames);

// Where the engine reads the joined picture of a smart cut (the tool's unnamed file,
// handed to it as its descriptor 3).
inline constexpr const char* kJoinedPictureInput = "/proc/self/fd/3";

// Writes the smart-cut picture of the segment into a new unnamed file as an MPEG
// transport stream: the head coded again, then the rest copied, their timestamps one
// after the other. Returns the file's descriptor (closed by the caller), or -1 when an
// engine run failed (its lines are on the tool's error output).
int WriteJoinedPicture(const std::string& input, double start, double end, const SegmentPlan& plan);

}  // namespace helpers
