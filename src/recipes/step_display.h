#pragma once
// The window changes that every recipe step makes, through the window interface.

#include <string>

namespace transcoda {

// The French text, or the English one when CurrentLanguage is "EN".
std::string Localised(const char* french, const char* english);

// Label11.
void ShowStatusText(const std::string& text);
// Maximum of ProgressBar1.
void SetStepBarMaximum(int maximum);
// End of every step: bar at 0, status "Ready"/"Prêt", empty progress label.
void EndStepDisplay();

// Removes one file, ignoring every failure (missing, locked, or a folder).
void DeleteFileSilently(const std::string& path);

}  // namespace transcoda
