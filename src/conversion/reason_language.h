#pragma once
// A list item's reason of failure in the language the window speaks now. The reason is
// written once, in the language of the moment it failed, and kept so in the saved list;
// the user may have changed the language since. Its fixed phrases are put in the other
// language; what lies between double quotes (files, folders) and any phrase not known
// here stays as it is. A reason already in the language asked for comes back unchanged.

#include <string>

namespace transcoda {

std::string ReasonInLanguage(const std::string& reason, bool english);

}  // namespace transcoda
