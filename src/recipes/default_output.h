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

// True when `output` is a name made from `input`: in the input's folder (a bare name
// counts as lying there), named after the input's stem, whatever its extension, or as
// the rules above derive it ("clip (2).avi", "clip-synchro.avi", the DVD folder
// "clipavi/"), or the placeholder "Sans titre" that an empty name becomes. An empty
// output counts too: nothing the user chose would be lost.
bool NamedAfterInput(const std::string& output, const std::string& input);

// The output once the input changes from `previous` to `input` (a pick, a drop, a file
// opened with the program, a typed path): a name made from the previous input follows
// the new one, as OutputBesideInput names it for an empty field (beside it, the preset's
// extension, a free name where it would be the input itself; with no preset, the
// output's own extension, and an empty output stays empty); any other name, typed or
// picked by the user, stays.
std::string OutputForNewInput(const std::string& label, const std::string& previous, const std::string& input,
                              const std::string& output,
                              const std::function<bool(const std::string&)>& taken = {});

}  // namespace transcoda
