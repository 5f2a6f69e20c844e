#pragma once
// What the checks before a conversion tell and ask the user, each in French and in
// English; every function picks the text by CurrentLanguage.

#include <string>

namespace transcoda {

std::string UnsupportedFormatText();
std::string MissingInputText();
std::string ReplaceOutputText();
// `folder` is the DVD output folder as the user gave it.
std::string FolderNotEmptyText(const std::string& folder);
std::string ZeroLagText();
// The output names the input file itself, or the DVD to write would hold the input.
std::string OutputIsInputText();
std::string InputInDvdFolderText();
// The two special operations need a dialog per file and are never queued.
std::string NotForListText();
std::string OutputInListText();
// `done` rows of the list are already converted: convert them again?
std::string RedoDoneItemsText(int done);

}  // namespace transcoda
