#pragma once
// File names of the seven helper tools in the helper folder: the one list that the
// recipes, the probe, the preview, the clean-up and the tools themselves go by.

#include <array>
#include <string_view>

namespace transcoda {

inline constexpr std::string_view utilitymff = "utilitymff.exe";
inline constexpr std::string_view utilitymffx = "utilitymffx.exe";
inline constexpr std::string_view utilitymff3 = "utilitymff3.exe";
inline constexpr std::string_view utilitymen = "utilitymen.exe";
inline constexpr std::string_view utilitymen2 = "utilitymen2.exe";
inline constexpr std::string_view utilityoth = "utilityoth.exe";
inline constexpr std::string_view utilitympl = "utilitympl.exe";

// The place of the player's window on the screen, "WxH+X+Y", when the program gives it
// one (the preview opens beside the sync dialog); the player's command line stays as it is.
inline constexpr const char* kPlayerAreaVariable = "TRANSCODA_PLAYER_AREA";

// Every tool, in the order the helper folder lists them.
inline constexpr std::array<std::string_view, 7> kHelperToolNames = {
    utilitymff, utilitymffx, utilitymff3, utilitymen, utilitymen2, utilitympl, utilityoth};

}  // namespace transcoda
