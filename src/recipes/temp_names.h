#pragma once
// Names of the intermediates of a recipe: "tmp" followed by four random digits.

#include <functional>
#include <string>

namespace transcoda {

// A fresh name; each digit drawn anew from a generator seeded from the clock.
std::string NewTempName();

// Tests replace the generator to force given names; an empty function restores it.
void SetTempNameHook(std::function<std::string()> hook);

}  // namespace transcoda
