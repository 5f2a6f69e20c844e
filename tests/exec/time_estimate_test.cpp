// The time-left estimate played over what real conversions fed it (recorded by
// bench_time_left --record), and the words it is said in.

#include "exec/time_estimate.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "exec/app_state.h"
#include "exec/time_left_text.h"
#include "support/estimate_trace.h"

namespace transcoda {
namespace {

using testing::ReadTrace;
using testing::RemainingAt;
using testing::Trace;
using testing::TraceLength;

Trace Recorded(const std::string& name) { return ReadTrace(std::string(TRACES_DIR) + "/" + name + ".txt"); }

// At a point of a recorded conversion (percent of its whole time): no time left yet
// (tolerance < 0), or one within tolerance (a share of the true time left).
TEST(TimeEstimate, FollowsRecordedConversions) {
    const struct {
        const char* trace;
        int percent;
        double tolerance;
    } cases[] = {
        // Before a tenth of the planned work is measured nothing is said: here only
        // the short sound extraction has run.
        {"hd_avi", 10, -1},
        {"mencoder", 20, -1},
        // The picture encoding has its pace: the join to come is counted in.
        {"hd_avi", 60, 0.15},
        {"hd_avi", 80, 0.15},
        {"hd_avi", 90, 0.15},
        // During the camcorder re-encoding the conversion still to come (a whole main
        // step) is counted at the pace learnt so far.
        {"camcorder", 20, 0.25},
        {"camcorder", 40, 0.25},
        // Once the conversion reports its own pace it is followed.
        {"camcorder", 90, 0.15},
        // Two steps of unequal share.
        {"downscale", 20, 0.15},
        {"downscale", 50, 0.15},
        {"downscale", 80, 0.15},
        // The DVD encoding, then two steps that report no progress, given their shares
        // at the encoding's pace.
        {"dvd", 50, 0.15},
        {"dvd", 93, 0.50},
        // Whole percentages of a mencoder-style tool.
        {"mencoder", 90, 0.15},
    };
    for (const auto& c : cases) {
        const Trace trace = Recorded(c.trace);
        ASSERT_FALSE(trace.empty()) << c.trace;
        const int64_t total = TraceLength(trace);
        const int64_t at = total * c.percent / 100;
        const std::optional<int64_t> estimate = RemainingAt(trace, at);
        SCOPED_TRACE(std::string(c.trace) + " at " + std::to_string(c.percent) + " %");
        if (c.tolerance < 0) {
            EXPECT_FALSE(estimate) << *estimate;
            continue;
        }
        ASSERT_TRUE(estimate);
        const double truth = static_cast<double>(total - at);
        EXPECT_LE(std::abs(static_cast<double>(*estimate) - truth), c.tolerance * truth)
            << "estimate " << *estimate << " ms, truth " << truth << " ms";
    }
}

// The time left is never below nothing and is said only while the request runs; the
// part done stays within 0..1.
TEST(TimeEstimate, SaysNothingOutsideTheRequestAndNeverLessThanNothing) {
    for (const char* name : {"hd_avi", "dvd", "mencoder", "camcorder", "downscale"}) {
        const Trace trace = Recorded(name);
        TimeEstimate estimate;
        for (const EstimateEvent& event : trace) {
            estimate.Feed(event);
            const auto left = estimate.RemainingMs(event.AtMs + 100);
            if (event.What == EstimateEvent::Kind::End || event.What == EstimateEvent::Kind::Begin) {
                EXPECT_FALSE(left) << name;
            }
            if (left) {
                EXPECT_GE(*left, 0) << name;
            }
            // The part done, as the JSON progress gives it, stays a true fraction.
            if (const auto done = estimate.DoneShare()) {
                EXPECT_GE(*done, 0.0) << name;
                EXPECT_LE(*done, 1.0) << name;
            }
        }
        EXPECT_FALSE(estimate.DoneShare()) << name;
        EXPECT_FALSE(estimate.Running());
        EXPECT_EQ(estimate.ElapsedMs(trace.back().AtMs + 5000), 0);
    }
}

TEST(TimeLabelText, ElapsedToTheSecondAndTimeLeftRoundedAsPeopleReadIt) {
    const struct {
        const char* language;
        int64_t elapsedMs;
        std::optional<int64_t> leftMs;
        const char* text;
    } cases[] = {
        {"FR", 0, std::nullopt, "écoulé 0 min 00 s"},
        {"FR", 40'900, 80'000, "écoulé 0 min 40 s — reste 1 min 20 s"},
        {"FR", 5'000, 4'999, "écoulé 0 min 05 s — moins de 5 s"},
        {"FR", 1'000, 12'400, "écoulé 0 min 01 s — reste environ 10 s"},
        {"FR", 1'000, 12'600, "écoulé 0 min 01 s — reste environ 15 s"},
        {"FR", 1'000, 57'600, "écoulé 0 min 01 s — reste 1 min"},
        {"FR", 1'000, 594'000, "écoulé 0 min 01 s — reste 9 min 50 s"},
        {"FR", 1'000, 12 * 60'000 + 29'000, "écoulé 0 min 01 s — reste 12 min"},
        {"FR", 3'725'000, 5'000'000, "écoulé 1 h 02 min 05 s — reste 1 h 23 min"},
        {"EN", 40'000, 80'000, "elapsed 0 min 40 s — 1 min 20 s left"},
        {"EN", 1'000, 4'000, "elapsed 0 min 01 s — less than 5 s left"},
        {"EN", 1'000, 12'400, "elapsed 0 min 01 s — about 10 s left"},
        {"EN", 61'000, 3'600'000, "elapsed 1 min 01 s — 1 h 00 min left"},
    };
    for (const auto& c : cases) {
        App().CurrentLanguage = c.language;
        EXPECT_EQ(TimeLabelText(c.elapsedMs, c.leftMs), c.text);
    }
    App().CurrentLanguage = "FR";
}

}  // namespace
}  // namespace transcoda
