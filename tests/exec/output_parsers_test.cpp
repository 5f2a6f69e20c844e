#include "exec/output_parsers.h"
#include "exec/tool_tail.h"

#include <gtest/gtest.h>

#include "exec/tool_output_reader.h"

namespace transcoda {
namespace {

struct FieldCase {
    const char* text;
    const char* field;
};

TEST(ParseDurationField, TakesTheTextBetweenTheKeywordAndTheComma) {
    const FieldCase cases[] = {
        {"Duration: 00:01:23.45, start: 0.000000, bitrate: 1411 kb/s", "00:01:23.45"},
        {"Duration: N/A, start: 0.000000, bitrate: N/A", "n/a"},
        {"  DURATION: 00:00:02.00, start: 0", "00:00:02.00"},
        {"Duration: 00:00:02.00 start", ""},           // no comma
        {"a, b Duration: 00:00:02.00, start", ""},     // the first comma comes before it
        {"frame= 10 time=1.00 bitrate= 1", "null"},
        {"", "null"},
        // The last matching line wins; a line without the keyword changes nothing.
        {"Duration: 00:00:01.00, x\rDuration: 00:00:03.00, y\r\nother", "00:00:03.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDurationField(c.text), c.field) << c.text;
}

TEST(ParseTimeField, TakesTheTextBetweenTimeAndBitrate) {
    const FieldCase cases[] = {
        {"frame= 1234 fps= 25 q=2.0 size= 1234kB time=49.36 bitrate= 204.8kbits/s", "49.36"},
        {"time=49.3 bitrate=", "49.3"},
        {"time=49.36  bitrate=", "49.36 "},          // two blanks: the trailing one stays
        {"size= 10kB time=49.36", ""},                // no bitrate
        {"creation_time   : 2020-01-01", ""},         // metadata that merely holds "time"
        {"Duration: 00:00:01.00, start: 0", "null"},
        {"TIME=1.50 BITRATE=", "1.50"},
        {"time=1.00 bitrate=\rtime=2.00 bitrate=\r", "2.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseTimeField(c.text), c.field) << c.text;
}

TEST(ParsePosField, ReadsPercentageAndPosition) {
    struct Case {
        const char* text;
        const char* percent;
        int32_t position;  // PositionCs afterwards, starting from -100
    } cases[] = {
        {"Pos:   1.2s     30f (10%) 25.00fps Trem:   0min   0mb  A-V:0.000 [0:0]", "10", 120},
        {"Pos:   0.4s     10f ( 5%)  0.00fps Trem:   0min   0mb", "5", 40},
        {"Pos:  12.0s    300f (100%) 25.00fps", "100", 1200},
        // From 100 s on the seconds fill their whole field.
        {"Pos: 123.4s   3085f (52%) 25.00fps", "52", 12340},
        {"Pos:1234.5s  30862f (97%) 25.00fps", "97", 123450},
        // A position that is not a number spoils the percentage of that line.
        {"Pos:   a.bs     30f (10%)", "null", -100},
        // No "s " after the position: the position is left as it was.
        {"Pos:   1.2", "", -100},
        {"frame= 10 time=1.00 bitrate=", "null", -100},
        {"Pos:   1.0s (10%)\rPos:   2.0s (20%)\r", "20", 200},
    };
    for (const auto& c : cases) {
        int32_t position = -100;
        EXPECT_EQ(ParsePosField(c.text, position), c.percent) << c.text;
        EXPECT_EQ(position, c.position) << c.text;
    }
}

TEST(NumberReaders, HmsAndDotless) {
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case hms[] = {{"00:01:23.45", 8345}, {"n/a", -1},          {"01:00:00.00", 360000},
                        {"00-01-23/45", 8345}, {"00:01:2x.45", -1},  {"00:01:23.456", -1},
                        {"", -1},              {"99:59:59.99", 35999999}, {"00:00:00.00", 0}};
    for (const auto& c : hms) EXPECT_EQ(HmsToHundredths(c.text), c.value) << c.text;
    const Case dotless[] = {{"49.36", 4936}, {"49.3", 493},  {"4936", -1}, {"49.36 ", -1}, {"", -1},
                            {"1.2.3", 123},  {" 1.2", 12},   {".", -1},    {"99999999999.9", -1}};
    for (const auto& c : dotless) EXPECT_EQ(DotlessNumber(c.text), c.value) << c.text;
}

TEST(FormatTwoDecimals, RoundsToHundredthsWithTheGivenSeparator) {
    EXPECT_EQ(FormatTwoDecimals(12.3456), "12.35");
    EXPECT_EQ(FormatTwoDecimals(0.0), "0.00");
    EXPECT_EQ(FormatTwoDecimals(99.0), "99.00");
    EXPECT_EQ(FormatTwoDecimals(0.5), "0.50");
    EXPECT_EQ(FormatTwoDecimals(12.3456, ","), "12,35");
}

TEST(ChunkFromBytes, TurnsLineEndsIntoBreaksAndTrims) {
    const FieldCase cases[] = {
        {"a\rb", "a\r\nb"},
        {"a\r\nb", "a\r\nb"},
        {"a\nb\n", "a\r\nb"},
        {"\n  x \r", "x"},
        {"frame=1\rframe=2\r", "frame=1\r\nframe=2"},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string in = c.text;
        EXPECT_EQ(ChunkFromBytes(in.data(), in.size()), c.field);
    }
    const char binary[] = {'\x01', '\xff', 'a', '\0', '\x80', 'b', '\x7f'};
    EXPECT_EQ(ChunkFromBytes(binary, sizeof binary), std::string("\xff" "a\0\x80" "b\x7f", 6));
}

// The lines kept for a failure's details read as a terminal shows them.
TEST(ToolTail, KeepsTheLastLinesAsATerminalShowsThem) {
    using Lines = std::vector<std::string>;
    std::string many;
    for (int i = 1; i <= 25; ++i) many += "line " + std::to_string(i) + "\n";
    Lines lastTwenty;
    for (int i = 6; i <= 25; ++i) lastTwenty.push_back("line " + std::to_string(i));
    const struct {
        std::vector<std::string> pieces;  // fed one after the other
        Lines lines;
    } cases[] = {
        {{"frame=1\rframe=2\rframe=3\nError opening output\n"}, {"frame=3", "Error opening output"}},
        {{"size=1kB time=0.00\r", "size=9kB time=1.00\r", "Conversion failed!\r\n"}, {"Conversion failed!"}},
        {{"a\r\n\r\n  \n", "b"}, {"a", "b"}},  // blank lines are left out, a last unended line kept
        {{"one\ntwo", " halves\n"}, {"one", "two halves"}},
        {{"engine: done\ntranscoda-streams: readable video=3.000\n"}, {"engine: done"}},
        {{many}, lastTwenty},
        {{std::string(400, 'x') + "\n"}, {std::string(ToolTail::kLineLength, 'x')}},
    };
    for (const auto& c : cases) {
        ToolTail tail;
        for (const std::string& piece : c.pieces) tail.Feed(piece.data(), piece.size());
        EXPECT_EQ(tail.Lines(), c.lines) << c.pieces.front().substr(0, 40);
    }
}

}  // namespace
}  // namespace transcoda
