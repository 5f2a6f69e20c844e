#pragma once
// Where an output goes when the user named no folder for it: beside the input. Shared by
// the window and the terminal front end.

#include <functional>
#include <string>

namespace transcoda {

// The output path for the preset `label`, as UpdateOutputName gives it, with two
// differences for an output that names no folder:
// - an empty output becomes the preset's name for the input, in the input's folder; the
//   two special operations keep the input's extension, so their result is marked
//   ("clip-synchro.avi", "clip-extrait.avi") rather than named as the input itself;
//   any other preset whose name for the input would be the input itself takes the first
//   free name of "clip (1).avi", "clip (2).avi" ...: no file of that name exists and
//   `taken` (when given) does not hold it, e.g. because a row of the list writes it (a
//   long stem is shortened to keep the name within 255 bytes);
// - a bare name ("out.mpeg") lies in the input's folder.
// With no input yet, an empty output stays empty: there is nothing to name it after.
std::string OutputBesideInput(const std::string& label, const std::string& input,
                              const std::string& output,
                              const std::function<bool(const std::string&)>& taken = {});

}  // namespace transcoda
