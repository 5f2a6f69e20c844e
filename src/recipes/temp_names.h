#pragma once
// Names of the intermediates of a recipe: "tmp" followed by four random digits.

#include <functional>
#include <initializer_list>
#include <string>

namespace transcoda {

// A fresh name; each digit drawn anew from the system's random source.
std::string NewTempName();

// Tests force given names through a function of their own in place of NewTempName.
using TempNameSource = std::function<std::string()>;

// A fresh name none of whose files (folder + name + each suffix) exists yet, other than
// `avoid`: a stale intermediate of an earlier run can never be read as a fresh one.
// After many draws that all meet a file, the last one is taken. The names come from
// `source` when it is given, else from NewTempName.
std::string NewFreeTempName(const std::string& folder, std::initializer_list<const char*> suffixes,
                            const std::string& avoid = "", const TempNameSource& source = {});

}  // namespace transcoda
