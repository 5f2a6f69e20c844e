#pragma once
// How paths are read and rewritten for the presets: the input's extension, the output
// name that follows a change of preset, and the folder of a DVD output. "/" separates
// folders; only the last path component can hold an extension.

#include <string>

namespace transcoda {

// The lower-case text after the last "." of the last path component; "null" for a
// path that is empty once trimmed, the empty text when that component has no dot.
std::string GetLowerExtension(const std::string& path);

// The path with the text after its extension's dot replaced by `extension`; a path
// without a file name gets "Sans titre." + extension.
std::string ReplaceExtension(const std::string& path, const std::string& extension);

// The path turned into a folder path ending with "/": the dots of its last component
// are removed; a path of at most one character gives DefaultDvdFolder().
std::string MakeFolderPath(const std::string& path);

// The user's home folder + "Sans titre/".
std::string DefaultDvdFolder();

// The output path rewritten for the preset `label` and the input path `input`; a label
// outside the catalogue leaves it unchanged.
std::string UpdateOutputName(const std::string& label, const std::string& input,
                             const std::string& output);

// The path with leading and trailing blanks and control characters removed.
std::string TrimBlanks(const std::string& text);

}  // namespace transcoda
