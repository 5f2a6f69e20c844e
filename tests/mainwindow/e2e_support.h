#pragma once
// Shared pieces of the window tests that run the real helper tools on the generated
// clips (the gui_e2e_tests program).

#include <cstdlib>
#include <string>

#include "gui_test_support.h"

namespace transcoda::testing {

// The path quoted for a shell.
inline std::string Sh(const std::string& path) { return "'" + path + "'"; }

// The generated clips, made once for a suite.
inline void MakeClipFixtures() {
    ASSERT_EQ(std::system(("bash " + Sh(TRANSCODA_SOURCE_DIR "/tests/fixtures/make_fixtures.sh") + " " +
                           Sh(TRANSCODA_FIXTURE_DIR) + " >/dev/null")
                              .c_str()),
              0);
}

inline std::string Fixture(const std::string& name) { return std::string(TRANSCODA_FIXTURE_DIR) + "/" + name; }

// A window of its own whose conversions run the build's helper tools on those clips.
class RealToolsWindowTest : public WindowTest {
protected:
    static void SetUpTestSuite() { MakeClipFixtures(); }
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(Exists(App().HelperFolder() + "utilitymff3.exe")) << "the helper tools are not built";
    }
};

}  // namespace transcoda::testing
