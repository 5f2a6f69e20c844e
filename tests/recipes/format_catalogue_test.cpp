#include "recipes/format_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace transcoda {
namespace {

TEST(FormatCatalogue, FortyDistinctLabelsInFormatBoxOrder) {
    std::set<std::string_view> labels;
    int position = 0;
    for (const FormatEntry& entry : FormatCatalogue()) {
        EXPECT_EQ(entry.Index, position++);
        ASSERT_GE(entry.Label.size(), 2u);
        EXPECT_EQ(entry.Label[0], ' ') << entry.Label;
        EXPECT_NE(entry.Label[1], ' ') << entry.Label;
        labels.insert(entry.Label);
        EXPECT_EQ(entry.Output == OutputRule::FixedExtension, !entry.Extension.empty()) << entry.Label;
        EXPECT_EQ(entry.Recipe == RecipeKind::CamcorderDownscale, !entry.IntermediateSize.empty())
            << entry.Label;
    }
    EXPECT_EQ(labels.size(), 40u);
}

TEST(FormatCatalogue, LabelsAreExactKeys) {
    // The labels whose punctuation is easiest to get wrong, with their positions as the
    // preferences file stores them.
    const std::pair<int, std::string> known[] = {
        {0, " Video HD Ready - AVI 1280x720 (MPEG4/DivX/XviD, 4500 kbps) ; MP3(192kbps)"},
        {12, " Windows Media Video - WMV, WMA v8, 96kbps, 44,1MHz"},
        {26, " Video iPhone & iTouch (Apple) - H.264 640x420"},
        {32, " DVD NTSC High Quality"},
        {38, " Correction & Synchronisation video/audio"},
        {39, " Extraction video/audio"},
    };
    for (const auto& [index, label] : known) {
        EXPECT_EQ(FormatLabel(index), label);
        EXPECT_EQ(FormatIndex(label), index);
        EXPECT_FALSE(IsSupportedFormat(label.substr(1))) << "without its leading blank";
        EXPECT_FALSE(IsSupportedFormat(label + " "));
        EXPECT_FALSE(IsSupportedFormat("  " + label.substr(1)));
    }
    EXPECT_EQ(FormatLabel(-1), "");
    EXPECT_EQ(FormatLabel(40), "");
    EXPECT_EQ(FindFormat(" dvd ntsc high quality"), nullptr);
}

TEST(InputClasses, EveryClassMemberIsAnAcceptedInput) {
    const auto supported = SupportedInputExtensions();
    EXPECT_EQ(supported.size(), 61u);
    EXPECT_EQ(std::set<std::string_view>(supported.begin(), supported.end()).size(), 61u);
    EXPECT_EQ(supported.front(), "m2ts");
    EXPECT_EQ(supported.back(), "oga");
    for (auto list : {CamcorderExtensions(), AsfFamilyExtensions(), FlashExtensions(),
                      WindowsMediaExtensions()}) {
        for (std::string_view e : list) EXPECT_TRUE(IsSupportedInputExtension(e)) << e;
    }
    for (std::string_view e : WindowsMediaExtensions()) EXPECT_TRUE(IsAsfFamilyExtension(e));
    EXPECT_TRUE(IsCamcorderExtension("mts"));
    EXPECT_FALSE(IsCamcorderExtension("MTS"));  // callers lower-case first
    EXPECT_FALSE(IsSupportedInputExtension("jpg"));
    EXPECT_FALSE(IsSupportedInputExtension(""));
    EXPECT_FALSE(IsSupportedInputExtension("null"));
}

}  // namespace
}  // namespace transcoda
