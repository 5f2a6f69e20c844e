#include "recipes/sync_lag.h"

#include <gtest/gtest.h>

namespace transcoda {
namespace {

// One rule for the window (whose dialog writes "-1.25"), the preview and the terminal
// (which also takes whole seconds, "0" or "300").
TEST(SyncLag, ZeroWhateverItsSignAndDigits) {
    for (const char* zero : {"0", "-0", "00", "0.0", "-0.0", "0.00", "-0.00"}) EXPECT_TRUE(IsZeroLag(zero)) << zero;
    // Not numbers at all, hence not a zero lag: "" and "-" among them.
    for (const char* other : {"-1000", "0.01", "-0.05", "10.00", "1.0", "10", "", "-", ".", "-.", ".0", "0.",
                              "-.00", "0.0x", "0.0.0", "--0"})
        EXPECT_FALSE(IsZeroLag(other)) << other;
}

}  // namespace
}  // namespace transcoda
