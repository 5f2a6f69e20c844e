#pragma once
// File names of the helper tools in the helper folder that the recipes start.

#include <string_view>

namespace transcoda {

inline constexpr std::string_view utilitymff = "utilitymff.exe";
inline constexpr std::string_view utilitymffx = "utilitymffx.exe";
inline constexpr std::string_view utilitymff3 = "utilitymff3.exe";
inline constexpr std::string_view utilitymen = "utilitymen.exe";
inline constexpr std::string_view utilitymen2 = "utilitymen2.exe";
inline constexpr std::string_view utilityoth = "utilityoth.exe";

}  // namespace transcoda
