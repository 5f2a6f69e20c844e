#pragma once
// Helpers shared by the dialog tests: clicking spin buttons and resetting the program-wide
// values between tests.

#include <QToolButton>

#include "dialogs/spin_button.h"
#include "exec/app_state.h"
#include "exec/progress_display.h"
#include "support/recording_window.h"

namespace transcoda::testing {

inline void ClickUp(SpinButton* spin, int times) {
    for (int i = 0; i < times; ++i) spin->UpButton()->click();
}
inline void ClickDown(SpinButton* spin, int times) {
    for (int i = 0; i < times; ++i) spin->DownButton()->click();
}

// Language, debug mode and a fresh recording window.
inline void ResetApp(RecordingWindow& window, const std::string& language, bool debug = true) {
    App().CurrentLanguage = language;
    App().DebugMode = debug;
    AttachWindow(&window);
}

}  // namespace transcoda::testing
