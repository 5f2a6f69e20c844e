#pragma once
// The values of the program as a whole, set by the front end as it starts: its language,
// the diagnostic mode, where it and its helper tools are, its work folder, the window
// its log goes to. What one conversion needs lives in its session
// (exec/conversion_session.h), never here.

#include <atomic>
#include <string>

namespace transcoda {

class WindowPort;

inline constexpr const char* kApplicationTitle = "Transcoda 1.0";
inline constexpr const char* kProductWebAddress = "transcoda.example.org";
inline constexpr const char* kNoSyncDelay = "-1000";
inline constexpr const char* kNoExtractionValue = "NOVALUE";

// The values the two special presets take from their dialogs.
struct SpecialValues {
    std::string SyncDelay = kNoSyncDelay;
    std::string ExtractionStart = kNoExtractionValue;
    std::string ExtractionLength = kNoExtractionValue;
};

// One conversion: what to convert, where to, which preset, and the special presets'
// values. The front end hands it to the controller as a value; the worker takes its own
// copy when it starts and the recipes read only that.
struct ConversionRequest {
    std::string InputPath;
    std::string OutputPath;
    std::string FormatLabel;
    SpecialValues Special{};
};

struct AppState {
    // "FR" or "EN"; set when a front end starts. The window's Language menu changes it
    // only while no conversion runs: the workers read it without a lock.
    std::string CurrentLanguage = "FR";
    // When true the diagnostic log is written. The window may switch it while a
    // conversion runs, so the worker and the reader read it as it changes.
    std::atomic<bool> DebugMode{false};

    // Folder of the running executable, with its trailing "/".
    std::string ProgramFolder;
    // ProgramFolder + "B/": the helper tools.
    std::string HelperFolder() const { return ProgramFolder + "B/"; }

    // This instance's own temp folder, with its trailing "/": the intermediates of the
    // recipes live there. Set by the front end when it starts; empty until then.
    std::string WorkFolder;
    // Where the intermediates go: WorkFolder, or the helper folder while none is set.
    std::string IntermediateFolder() const { return WorkFolder.empty() ? HelperFolder() : WorkFolder; }

    // The window (or terminal) that the diagnostic log goes to, and that a conversion's
    // end is shown in. Never null once a front end has started.
    WindowPort* Window = nullptr;

    bool English() const { return CurrentLanguage == "EN"; }
    bool French() const { return CurrentLanguage == "FR"; }
};

// The program's values.
AppState& App();

// Makes `window` the one the log and the conversions' ends go to (null: none). Front
// ends call it when their window (or terminal) is ready.
void AttachWindow(WindowPort* window);

}  // namespace transcoda
