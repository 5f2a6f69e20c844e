#pragma once
// The signals that end a front end from outside: a closed terminal or a dropped ssh
// session (SIGHUP), Ctrl-C, Ctrl-\, kill, the end of a session, and the other signals
// whose default is to end a process. Each acts as the Stop button: the running tool
// ends, what was being written goes, the old output stays, and the program ends with
// 128 plus the signal's number. Their handler only notes the signal; a thread of its own
// does the rest, so that the clean-up may use the program's ordinary functions. No
// signal is held back: whatever the program starts gets the usual handling.

#include <csignal>
#include <functional>

namespace transcoda {

// How long a stop may take before the program ends at once (see WatchStopSignals).
inline constexpr int kStopBoundMs = 10000;

// First thing in main: from now on a stop signal no longer ends the program outright;
// it is noted, and waits for WatchStopSignals to act on it. A hang-up the program was
// started to ignore (nohup) stays ignored.
void CatchStopSignals();

// Starts the thread that takes the stop signals. The first one is kept (StopSignal);
// then `onStop`, when given, runs on a thread of its own: it stops the front end's
// conversions, as Stop does. A second signal (a second after the first or later: those before
// are the same event told again), or a stop that has not ended the program within
// kStopBoundMs, ends it at once: EndInstance (this instance's tools, the outputs it
// was writing and its work folder go), then exit with 128 + the first signal.
void WatchStopSignals(std::function<void(int)> onStop = {});

// The first stop signal taken; 0 while none has come.
int StopSignal();

}  // namespace transcoda
