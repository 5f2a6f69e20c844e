#pragma once
// The conversion list kept between runs, in the preferences file (preferences.h), in a
// section of its own, "List", so that the section "Visual" stays as it is. Each row is
// five keys, numbered from 1 in the list's order:
//   item1.format, item1.input, item1.output   the row's three cells
//   item1.status   waiting, converting, done, failed or stopped
//   item1.reason   why it failed
// A row that was converting when the program ended comes back stopped.
//
// Standard C++ only: the window converts its texts to UTF-8 and back.

#include <string>
#include <vector>

#include "conversion/item_status.h"
#include "mainwindow/preferences.h"

namespace transcoda {

inline constexpr const char* kListSection = "List";

struct SavedListRow {
    std::string FormatLabel;
    std::string InputPath;
    std::string OutputPath;
    ItemStatus Status;
};

// The rows kept in the preferences file, in order; none when there is no file or no
// section. A row without its input or output is left out.
std::vector<SavedListRow> ReadSavedList(const std::string& programFolder);

// Keeps rows as the list, replacing whatever list the file held. Writes nothing when
// there is no preferences file (NoFile): the file is made by the first pick of an input.
PreferencesWriteResult WriteSavedList(const std::string& programFolder, const std::vector<SavedListRow>& rows);

}  // namespace transcoda
