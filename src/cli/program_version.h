#pragma once
// What --version prints: the program and its version, then the engine each kind of
// helper tool runs, with its version, as the tools themselves tell it.

#include <string>

namespace transcoda::cli {

// "transcoda-cli 1.0", then one line per engine ("ffmpeg 5.1.6 (utilitymff.exe)"); a
// tool that is missing or does not answer within a few seconds is named as such.
// `helperFolder` ends with "/".
std::string VersionText(const std::string& helperFolder);

}  // namespace transcoda::cli
