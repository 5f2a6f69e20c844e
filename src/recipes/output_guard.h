#pragma once
// The one rule for what may be written as an output. Only a regular file (or a new
// one) is ever replaced: a folder, a device node or pipe, a file the user may not
// write, a folder the user may not write in, a path with a name longer than the file
// systems' 255 bytes, and the program's own files (its
// executables, its tools, its work folder and its preferences) are refused. A DVD
// output must be a folder (or a new one) outside the program's own folders. The window,
// the list and the terminal front end ask it before anything runs; the dispatcher asks
// it again before a request touches anything.

#include <string>

namespace transcoda {

// Why `output` may not be written for the preset `label`, as the message shown to the
// user in the current language; empty when it may.
std::string OutputRefusal(const std::string& output, const std::string& label);

// True when writing `output` would destroy the input file: the output is the input
// itself, however either is spelt; for a DVD (`output` is then the folder that holds
// "DVD-Disc1"), when the input lies in the "DVD-Disc1" folder that the DVD rewrites.
bool OutputWouldDestroyInput(const std::string& input, const std::string& output, bool dvd);

}  // namespace transcoda
