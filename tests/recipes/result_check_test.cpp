#include <gtest/gtest.h>

#include "recipes/result_check.h"

namespace transcoda {
namespace {

// What a written 60 s input's output may hold: a copied picture cut out of the middle
// starts at the next keyframe, so it may be short by up to the keyframe spacing; its
// sound, coded again, and every other preset's picture must last the whole length.
TEST(ResultCheck, OnlyACopiedSegmentsPictureMayStartLate) {
    struct Case {
        int entry;
        const char* input;
        const char* start;
        const char* length;
        double picture, sound;  // seconds written
        bool passes;
        std::vector<StreamSpan> in = {{StreamKind::Video, 60.0}, {StreamKind::Audio, 60.0}};
    };
    using enum StreamKind;
    const Case cases[] = {
        {39, "in.mp4", "00:00:10", "00:00:30", 28.1, 30.0, true},    // next keyframe 1.9 s after the cut
        {39, "in.mp4", "00:00:10", "00:00:30", 20.0, 30.0, true},    // a keyframe every 10 s
        {39, "in.mp4", "00:00:10", "00:00:30", 18.0, 30.0, false},   // more than a keyframe spacing short
        {39, "in.mp4", "00:00:10", "00:00:05", 0.0, 5.0, false},     // no keyframe in the segment: no picture at all
        {39, "in.mp4", "00:00:10", "00:00:30", 30.0, 28.1, false},   // the sound is whole or the file is cut short
        {39, "in.mp4", "00:00:10", "00:00:30", 31.0, 30.0, false},   // longer than the segment
        {39, "in.mp4", "00:00:00", "00:00:30", 28.1, 30.0, false},   // from the start: no keyframe to wait for
        {39, "in.mts", "00:00:10", "00:00:30", 20.0, 30.0, false},  // its picture is coded from the cut
        {3, "in.mp4", "", "", 58.1, 60.0, false},                    // a whole conversion
        {3, "in.mp4", "", "", 59.8, 60.0, true},
        // Each stream against the input stream the tools take (the first of its kind).
        {3, "in.mp4", "", "", 30.0, 10.0, true, {{Video, 30.0}, {Audio, 10.0}, {Audio, 30.0}}},
        {3, "in.mp4", "", "", 30.0, 30.0, false, {{Video, 30.0}, {Audio, 10.0}, {Audio, 30.0}}},
        {3, "in.mp4", "", "", 10.0, 30.0, true, {{Video, 10.0}, {Audio, 30.0}}},
        {3, "in.mp4", "", "", 7.0, 30.0, false, {{Video, 10.0}, {Audio, 30.0}}},
    };
    for (const Case& c : cases) {
        const StreamReport input{true, c.in};
        ConversionRequest request{c.input, "out.mp4", FormatLabel(c.entry)};
        if (c.entry == 39) request.Special = {kNoSyncDelay, c.start, c.length};
        const InputVerdict verdict = ExpectOutput(FormatCatalogue()[static_cast<size_t>(c.entry)], request, input);
        ASSERT_EQ(verdict.Refusal, "");
        const StreamReport written{true, {{StreamKind::Video, c.picture}, {StreamKind::Audio, c.sound}}};
        EXPECT_EQ(CheckWritten(written, verdict.Expected, Writes::Media).empty(), c.passes)
            << c.entry << " " << c.start << " picture " << c.picture << " sound " << c.sound;
    }
}

}  // namespace
}  // namespace transcoda
