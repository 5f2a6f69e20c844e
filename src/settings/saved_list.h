#pragma once
// The conversion list kept between runs, in the preferences file (preferences.h), in a
// section of its own, "List", so that the section "Visual" stays as it is. Each row is
// five keys, numbered from 1 in the list's order:
//   item1.format, item1.input, item1.output   the row's three cells
//   item1.status   waiting, converting, done, failed or stopped
//   item1.reason   why it failed
// A row that was converting when the program ended comes back stopped.
//
// Several windows keep one list. A window's write does not overwrite the section: under
// the folder's lock it reads the list as the file holds it now and applies to it what
// this window changed since its last read or write (its base): the rows it added,
// removed, moved, or whose status changed. A row another window added stays; a row that
// either window removed does not come back. Rows are known by their output, which one
// list holds once.
//
// Standard C++ only: the window converts its texts to UTF-8 and back.

#include <string>
#include <vector>

#include "conversion/item_status.h"
#include "settings/preferences.h"

namespace transcoda {

inline constexpr const char* kListSection = "List";

struct SavedListRow {
    std::string FormatLabel;
    std::string InputPath;
    std::string OutputPath;
    ItemStatus Status;

    bool operator==(const SavedListRow&) const = default;
};

// The rows kept in the preferences file, in order; none when there is no file or no
// section. A row without its input or output is left out.
std::vector<SavedListRow> ReadSavedList(const std::string& programFolder);

// The list in the file (`theirs`) with what one window changed from `base` to `mine`
// applied to it:
// - a row of `mine` not in `base` was added: it is kept (in place of a row of `theirs`
//   with its output), after the row it follows in `mine`;
// - a row of `base` not in `mine` was removed: it goes;
// - a row of both whose cells or status differ was changed: `mine` wins, unless the row
//   is no longer in `theirs` (another window removed it);
// - when `mine` holds its rows in another order than `base`, they take that order among
//   the places they hold in `theirs`; otherwise the order of `theirs` stays.
// Every other row of `theirs` stays as it is, where it is.
std::vector<SavedListRow> MergeSavedList(const std::vector<SavedListRow>& base, const std::vector<SavedListRow>& mine,
                                         const std::vector<SavedListRow>& theirs);

// Keeps rows as the list. Without `base`, replaces whatever list the file held; with it,
// merges as MergeSavedList does, in one replacement of the file under the folder's lock,
// and then sets *base to rows, what this window now holds. Writes nothing when there is
// no preferences file (NoFile): the file is made by the first pick of an input.
PreferencesWriteResult WriteSavedList(const std::string& programFolder, const std::vector<SavedListRow>& rows,
                                      std::vector<SavedListRow>* base = nullptr);

}  // namespace transcoda
