#pragma once
// The life of one running instance of the program, window or terminal. It works in a
// folder of its own, "<root>/<instance mark>/", which holds its intermediates and the
// notes of the outputs it is writing; the folder is removed when the instance ends, and
// by the next instance that starts when this one died without removing it.

#include <string>
#include <vector>

namespace transcoda {

// The folders that hold the instances' work folders, best first, each with its trailing
// "/": "$XDG_RUNTIME_DIR/transcoda/", the user's cache folder + "transcoda/", and a
// folder of this user in the system's temp folder.
std::vector<std::string> WorkFolderRoots();

// First thing in main, before any thread: ends the tools left running by instances that
// have died, removes their work folders (and first the outputs they were writing), makes
// this instance's work folder and sets App().WorkFolder to it. App().WorkFolder stays
// empty when no folder could be made.
void StartInstance();

// Last thing before the program ends: ends this instance's tools, removes the outputs it
// was writing and its work folder. Only the first call does anything.
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
