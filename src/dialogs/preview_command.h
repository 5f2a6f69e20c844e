#pragma once
// The player command that previews a file with a sound lag from a position.

#include <string>

namespace transcoda {

inline constexpr const char* kStartPosition = "00:00:00";

// The argument string handed to the player: " " + Q(file), then " -ss " + position unless
// the position is 00:00:00, then " -delay " + lag unless the lag is zero.
std::string PreviewArguments(const std::string& file, const std::string& lag, const std::string& position);

// The player's path (the helper folder and utilitympl.exe, not quoted), one blank, and the argument string.
std::string PreviewCommandLine(const std::string& helperFolder, const std::string& file,
                               const std::string& lag, const std::string& position);

}  // namespace transcoda
