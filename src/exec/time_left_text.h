#pragma once
// How the time of a conversion is said to the user, by CurrentLanguage: the time taken
// to the second, and the time left rounded the way people read it, coarser as it grows.

#include <cstdint>
#include <optional>
#include <string>

namespace transcoda {

// "0 min 40 s", "12 min 05 s", "1 h 02 min 05 s".
std::string ElapsedWords(int64_t ms);
// "moins de 5 s" / "less than 5 s left"; under a minute, to 5 s: "reste environ 10 s" /
// "about 10 s left"; under ten minutes, to 10 s: "reste 1 min 20 s" / "1 min 20 s left";
// under an hour, to the minute: "reste 12 min"; then "reste 1 h 05 min".
std::string RemainingWords(int64_t ms);
// "écoulé 0 min 40 s — reste 1 min 20 s" / "elapsed 0 min 40 s — 1 min 20 s left"; the
// elapsed part alone while the time left is not known.
std::string TimeLabelText(int64_t elapsedMs, std::optional<int64_t> remainingMs);

}  // namespace transcoda
