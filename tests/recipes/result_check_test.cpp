#include <gtest/gtest.h>

#include "recipes/result_check.h"

namespace transcoda {
namespace {

// What a written 60 s input's output may hold: every picture and sound, a segment's
// included, lasts the whole length asked, and a segment whose tool found its first or
// last picture to differ from the input's there fails.
TEST(ResultCheck, ASegmentHoldsTheWholeWindowAskedFor) {
    struct Case {
        int entry;
        const char* input;
        const char* start;
        const char* length;
        double picture, sound;  // seconds written
        PictureContent content;
        bool passes;
        std::vector<StreamSpan> in = {{StreamKind::Video, 60.0}, {StreamKind::Audio, 60.0}};
    };
    const PictureContent same = PictureContent::Same, differs = PictureContent::Different,
                         unread = PictureContent::Unchecked;
    using enum StreamKind;
    const Case cases[] = {
        {39, "in.mp4", "00:00:10", "00:00:30", 30.0, 30.0, same, true},
        {39, "in.mp4", "00:00:10", "00:00:30", 30.0, 30.0, unread, true},   // pictures that could not be decoded
        {39, "in.mp4", "00:00:10", "00:00:30", 30.0, 30.0, differs, false}, // the wrong window
        {39, "in.mp4", "00:00:10", "00:00:30", 28.1, 30.0, same, false},    // the picture starts late
        {39, "in.mp4", "00:00:10", "00:00:30", 20.0, 30.0, same, false},
        {39, "in.mp4", "00:00:10", "00:00:30", 30.0, 28.1, same, false},    // the file is cut short
        {39, "in.mp4", "00:00:10", "00:00:30", 31.0, 30.0, same, false},    // longer than the segment
        {39, "in.mts", "00:00:10", "00:00:30", 30.0, 30.0, differs, false},
        {3, "in.mp4", "", "", 58.1, 60.0, unread, false},                    // a whole conversion
        {3, "in.mp4", "", "", 59.8, 60.0, unread, true},
        // Each stream against the input stream the tools take (the first of its kind).
        {3, "in.mp4", "", "", 30.0, 10.0, unread, true, {{Video, 30.0}, {Audio, 10.0}, {Audio, 30.0}}},
        {3, "in.mp4", "", "", 30.0, 30.0, unread, false, {{Video, 30.0}, {Audio, 10.0}, {Audio, 30.0}}},
        {3, "in.mp4", "", "", 10.0, 30.0, unread, true, {{Video, 10.0}, {Audio, 30.0}}},
        {3, "in.mp4", "", "", 7.0, 30.0, unread, false, {{Video, 10.0}, {Audio, 30.0}}},
    };
    for (const Case& c : cases) {
        const StreamReport input{true, c.in};
        ConversionRequest request{c.input, "out.mp4", FormatLabel(c.entry)};
        if (c.entry == 39) request.Special = {kNoSyncDelay, c.start, c.length};
        const InputVerdict verdict = ExpectOutput(FormatCatalogue()[static_cast<size_t>(c.entry)], request, input);
        ASSERT_EQ(verdict.Refusal, "");
        const StreamReport written{true, {{StreamKind::Video, c.picture}, {StreamKind::Audio, c.sound}}, c.content};
        EXPECT_EQ(CheckWritten(written, verdict.Expected, Writes::Media).empty(), c.passes)
            << c.entry << " " << c.start << " picture " << c.picture << " sound " << c.sound;
    }
}

}  // namespace
}  // namespace transcoda
