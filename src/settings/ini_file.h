#pragma once
// The INI files of this program, read and updated as a whole: the text of one file
// (ini_document.h), read whole and replaced whole through a temporary file renamed over
// it (whole_file.h), and an update made under the lock of the file's folder, so that
// two programs of ours updating the same file never undo each other's change.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "settings/ini_document.h"
#include "settings/whole_file.h"

namespace transcoda {

// True when path names an existing regular file (symbolic links followed).
bool IniFileExists(const std::string& path);

// The value of key in section of the file at path, or fallback when the file, the
// section or the key is missing or the file cannot be read.
std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback);

// Reads the file at path (an empty document when it does not exist), lets `change` edit
// it and stores the result in one replacement. Other programs of ours that update the
// same folder's files wait meanwhile, so that no update undoes another made between its
// read and its write. A file that exists but cannot be read is left alone. `change`
// returns false, with *error set, to leave the file as it was. False with *error set on
// failure.
bool ModifyIniFile(const std::string& path, const std::function<bool(IniDocument&, std::string*)>& change,
                   std::string* error = nullptr);

// Sets the keys of section, in the order given, in the file at path (created when it
// does not exist) and stores the result in one replacement: either every key is written
// or the file stays as it was. False with *error set on failure.
bool WriteIniStrings(const std::string& path, const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& values,
                     std::string* error = nullptr);

}  // namespace transcoda
