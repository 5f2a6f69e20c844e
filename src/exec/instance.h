#pragma once
// The life of one running instance of the program, window or terminal. It works in a
// folder of its own, "<root>/<instance mark>/", which holds its intermediates and the
// notes of the outputs it is writing; the folder is removed when the instance ends, and
// by the next instance that starts when this one died without removing it.

#include <string>
#include <vector>

namespace transcoda {

// The folders that hold the instances' work folders, best first, each with its trailing
// "/": "$XDG_RUNTIME_DIR/transcoda/" and the user's cache folder + "transcoda/". When
// neither can be used, the work folder is made by mkdtemp in the system's temp folder
// ($TMPDIR, else /tmp), as "transcoda-<uid>-<instance mark>-XXXXXX": never under a
// fixed name there, which another user could make first.
std::vector<std::string> WorkFolderRoots();

// First thing in main, before any thread: ends the tools left running by instances that
// have died, removes their work folders (and first the outputs they were writing), makes
// this instance's work folder and sets App().WorkFolder to it. App().WorkFolder stays
// empty when no folder could be made.
void StartInstance();

// True when StartInstance could make no work folder: a conversion is then refused, its
// intermediates having nowhere private to go.
bool WorkFolderMissing();

// Last thing before the program ends: ends this instance's tools, removes the outputs it
// was writing and its work folder. Only the first call after StartInstance does
// anything; a call made while another runs returns once that one has ended.
void EndInstance();

// StartInstance for the life of main, EndInstance whichever way main returns.
class InstanceScope {
public:
    InstanceScope() { StartInstance(); }
    ~InstanceScope() { EndInstance(); }
    InstanceScope(const InstanceScope&) = delete;
    InstanceScope& operator=(const InstanceScope&) = delete;
};

}  // namespace transcoda
