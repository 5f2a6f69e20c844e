#pragma once
// The conversion worker: one thread that carries out WorkerCommand ("transformOnce",
// "transformList", "test", "testThread2") and then returns the window to idle.

#include <functional>
#include <string>
#include <vector>

#include "exec/app_state.h"

namespace transcoda {

// What became of one request handed to DispatchConversion.
struct RequestOutcome {
    enum class Result {
        Written,      // every step went well, the output was checked and put in place
        Failed,       // a step failed or wrote something wrong, or no true result could come
        Refused,      // nothing ran (unsupported extension or label, no lag or segment)
        Stopped,      // ConversionRunning was cleared during the request
        FolderError,  // the output folder could not be created
    };
    ConversionRequest Request;
    Result Outcome = Result::Refused;
    // Failed: why, ending "La conversion de X a échoué ..."; FolderError: the message.
    std::string Reason;
};

// What one worker carries out, copied whole when it starts: the command and the
// requests (the single one, or every row of the list), special values included. Nothing
// done in the window meanwhile changes what the worker reads.
struct ConversionJob {
    std::string Command;
    std::vector<ConversionRequest> Requests;
};

class MonThread {
public:
    // Copies the job (WorkerCommand, the request or the list's rows, the special
    // values) on the calling thread, then starts the worker on a thread of its own and
    // returns at once. The caller has set WorkerCommand and ConversionRunning beforehand.
    static void Start();
    // Starts the worker on a job already taken; onEnd, when given, is called on the
    // worker's thread once the body has ended and Active() is false.
    static void Start(ConversionJob job, std::function<void()> onEnd);
    // The worker's body on the calling thread, for the job as it stands now.
    static void Execute();
    static void Execute(const ConversionJob& job);
    // The job as the program-wide values and the window's list give it now.
    static ConversionJob TakeJob();
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

}  // namespace transcoda
