#pragma once
// The conversion worker: one thread that carries out WorkerCommand ("transformOnce",
// "transformList", "test", "testThread2") and then returns the window to idle.

#include <functional>
#include <string>
#include <vector>

#include "conversion/conversion_job.h"

namespace transcoda {

class ConversionWorker {
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
