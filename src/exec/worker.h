#pragma once
// The conversion worker: one thread that carries out WorkerCommand ("transformOnce",
// "transformList", "test", "testThread2") and then returns the window to idle.

namespace transcoda {

class MonThread {
public:
    // Starts the worker on a thread of its own, at the lowest priority, and returns at
    // once. The caller has set WorkerCommand and ConversionRunning beforehand.
    static void Start();
    // The worker's body, on the calling thread (the thread started by Start runs this).
    static void Execute();
    // True from Start until the body has ended.
    static bool Active();
};

}  // namespace transcoda
