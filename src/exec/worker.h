#pragma once
// The conversion worker: one thread that carries out WorkerCommand ("transformOnce",
// "transformList", "test", "testThread2") and then returns the window to idle.

#include <string>
#include <vector>

#include "exec/app_state.h"

namespace transcoda {

// What became of one request handed to DispatchConversion.
struct RequestOutcome {
    enum class Result {
        Written,      // the tools ended well and the output is there
        Failed,       // a tool ended badly, or the output is missing or empty
        Refused,      // no tool ran (unsupported extension or label, no lag or segment)
        Stopped,      // ConversionRunning was cleared during the request
        FolderError,  // the output folder could not be created
    };
    ConversionRequest Request;
    Result Outcome = Result::Refused;
    int ExitStatus = 0;  // of the last tool run
};

class MonThread {
public:
    // Starts the worker on a thread of its own, at the lowest priority, and returns at
    // once. The caller has set WorkerCommand and ConversionRunning beforehand.
    static void Start();
    // The worker's body, on the calling thread (the thread started by Start runs this).
    static void Execute();
    // True from Start until the body has ended.
    static bool Active();

    // Waits until the worker started by Start has ended; false when timeoutMs (negative:
    // no limit) ran out first.
    static bool WaitForEnd(int timeoutMs);
    // The requests of the last body that converted, in order (read after it has ended).
    static std::vector<RequestOutcome> Outcomes();
    // The folder whose test file the "test" command deletes (under the system's
    // temporary folder), with a trailing "/".
    static std::string TestOutputFolder();
};

// True when the request's final output exists and is not empty (for a DVD: the
// VIDEO_TS.IFO of its "DVD-Disc1" folder).
bool FinalOutputWritten(const ConversionRequest& request);

}  // namespace transcoda
