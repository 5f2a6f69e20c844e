#pragma once
// Program-wide values shared by the window, the conversion worker and the pipe reader.
// Everything that the whole program reads or writes lives here, in one place.

#include <atomic>
#include <cstdint>
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
// values. The worker takes its own copy when it starts and the recipes read only that.
struct ConversionRequest {
    std::string InputPath;
    std::string OutputPath;
    std::string FormatLabel;
    SpecialValues Special{};
};
inline constexpr int32_t kNotProbed = -100;

struct AppState {
    // Set by the window when it accepts a conversion, cleared by Stop or by the worker
    // at the end of its work. Polled by the process runner every 100 ms.
    std::atomic<bool> ConversionRunning{false};

    // "FR" or "EN"; fixed when the main window is created.
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

    // "tmp" + four digits, the stem of the intermediates of the current recipe.
    std::string TempBaseName;

    // What the next worker does: "transformOnce", "transformList", "test", "testThread2".
    std::string WorkerCommand;
    // The window's request of a single conversion (its special values are the fields
    // below). Read by ConversionWorker::Start on the starting thread only.
    ConversionRequest Request;

    // Values left by the two special dialogs; copied into the request when a worker starts.
    std::string SyncDelay = kNoSyncDelay;
    std::string ExtractionStart = kNoExtractionValue;
    std::string ExtractionLength = kNoExtractionValue;

    // Progress state, in hundredths of a second.
    int32_t InputDurationCs = kNotProbed;
    int32_t PositionCs = kNotProbed;
    std::string DurationText;
    // "(i/n)" while a list is converted, empty otherwise.
    std::string ItemCounterText;

    // Exit status of the last tool run: the code it exited with, 128 + signal when it
    // was killed, -1 when it could not be started. Kept for the diagnostics that show
    // it; the outcome of a conversion is decided from what each run returns.
    std::atomic<int> LastExitStatus{0};

    // The window (or terminal) that the worker and the reader report to. Never null
    // once a front end has started.
    WindowPort* Window = nullptr;

    bool English() const { return CurrentLanguage == "EN"; }
    bool French() const { return CurrentLanguage == "FR"; }
};

// The single instance.
AppState& App();

}  // namespace transcoda
