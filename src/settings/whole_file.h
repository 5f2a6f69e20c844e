#pragma once
// A file read whole, and its contents replaced whole. A replacement never rewrites the
// file in place: the new contents go to a temporary file in the same folder, which is
// then renamed over the old one. A crash or a full disk in the middle of a write leaves
// the old file whole.

#include <optional>
#include <string>

namespace transcoda {

// Reads the whole file; nothing when it cannot be read. *error gets the reason.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string* error = nullptr);

// Replaces the file's contents as a whole: writes a temporary file beside it, flushes it
// to the disk and renames it over path. On failure the old file (if any) is untouched, no
// temporary file is left, false is returned and *error gets the reason. The old file's
// permissions are kept; a new file gets the usual ones (0666 less the umask).
bool ReplaceFileContents(const std::string& path, const std::string& contents,
                         std::string* error = nullptr);

// Removes the temporary files that replacements of path by processes now gone left
// behind (a program killed while it wrote). A live process's are its own business.
void RemoveLeftReplacements(const std::string& path);

}  // namespace transcoda
