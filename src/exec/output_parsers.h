#pragma once
// Readers of the helper tools' console output. Each looks at every line of a text
// (lines end with a carriage return) and keeps the field of the last matching line.

#include <cstdint>
#include <string>

namespace transcoda {

// Leading and trailing characters of code 32 or less removed.
std::string TrimControl(const std::string& text);

// Whole number as the runtime reads it: leading blanks, an optional sign, decimal
// digits and nothing else, within 32 bits. False on anything else.
bool ParseWholeNumber(const std::string& text, int32_t& value);

// The text after "duration:" and one more character, up to the first comma of the
// line; "null" when no line holds "duration:" (any letter case).
std::string ParseDurationField(const std::string& text);

// The text after "time" and one more character, up to the character before the first
// "bitrate"; empty when the line has no "bitrate"; "null" when no line holds "time".
std::string ParseTimeField(const std::string& text);

// For each line holding "pos:", the percentage between "(" and "%)" (trimmed) and the
// position in seconds before "s ", stored in positionCs as hundredths. Returns the
// percentage text of the last such line ("null" when its position cannot be read), or
// "null" when no line holds "pos:".
std::string ParsePosField(const std::string& text, int32_t& positionCs);

// "hh:mm:ss.cc" (exactly 11 characters) to hundredths of a second, -1 otherwise.
int32_t HmsToHundredths(const std::string& text);

// The number with its dots removed ("49.36" gives 4936); -1 without a dot or when it
// does not read as a whole number.
int32_t DotlessNumber(const std::string& text);

// "0.00": at least one integer digit and two decimals, with the decimal separator of
// the current LC_NUMERIC locale.
std::string FormatTwoDecimals(double value);
// The same with a given decimal separator.
std::string FormatTwoDecimals(double value, const std::string& separator);

}  // namespace transcoda
