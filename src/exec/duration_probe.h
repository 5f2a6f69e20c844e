#pragma once

#include <string>

namespace transcoda {

// Runs utilitymffx.exe -i "input" and lets the progress parser take the input's
// duration from its output (InputDurationCs, DurationText).
void extractDuration(const std::string& inputPath);

}  // namespace transcoda
