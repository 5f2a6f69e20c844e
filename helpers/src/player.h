#pragma once
// The mplayer-style preview tool: plays a file in a player window (mpv) from a start
// position with the sound shifted by a lag; ends when the window is closed.

#include <string>
#include <vector>

namespace helpers {

// mpv's arguments for the tool's arguments ("FILE [-ss HH:MM:SS] [-delay SECONDS]").
// A negative lag delays the sound, a positive one the picture. Throws UsageError.
std::vector<std::string> TranslatePlayerArgs(const std::vector<std::string>& args);

// mpv's options that open its window with its picture inside area "WxH+X+Y" (top-left
// corner at X,Y; as large as fits, keeping the picture's shape). None for an area of
// another form: the player then opens where the desktop puts it.
std::vector<std::string> PlayerPlacementArgs(const std::string& area);

// The program's place for the window is read from the environment (kPlayerAreaVariable).
int RunPlayerTool(const std::string& toolName, const std::vector<std::string>& args);

}  // namespace helpers
