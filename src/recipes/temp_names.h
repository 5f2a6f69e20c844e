#pragma once
// Names of the intermediates of a recipe: "tmp" followed by four random digits.

#include <functional>
#include <initializer_list>
#include <string>

namespace transcoda {

// A fresh name; each digit drawn anew from a generator seeded from the clock.
std::string NewTempName();

// A fresh name none of whose files (folder + name + each suffix) exists yet, other than
// `avoid`: a stale intermediate of an earlier run can never be read as a fresh one.
// After many draws that all meet a file, the last one is taken.
std::string NewFreeTempName(const std::string& folder, std::initializer_list<const char*> suffixes,
                            const std::string& avoid = "");

// Tests replace the generator to force given names; an empty function restores it.
void SetTempNameHook(std::function<std::string()> hook);

}  // namespace transcoda
