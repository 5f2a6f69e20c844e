#pragma once
// Names of the intermediates of a recipe: "tmp" followed by four random digits.

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

namespace transcoda {

// A fresh name; each digit drawn anew from the system's random source.
std::string NewTempName();

// Tests force given names through a function of their own in place of NewTempName.
using TempNameSource = std::function<std::string()>;

// A name drawn for the intermediates of one recipe, and what keeps it that recipe's:
// while Hold lives, no other draw in this process (another session converting side by
// side, in the same work folder) takes the same name.
struct FreeTempName {
    std::string Name;
    std::shared_ptr<const void> Hold;
};

// A fresh name none of whose files (folder + name + each suffix) exists yet, other than
// `avoid` and the names held: a stale intermediate of an earlier run can never be read as
// a fresh one, nor can another session's. After many draws that all meet a file, the last
// one is taken. The names come from `source` when it is given, else from NewTempName.
FreeTempName NewFreeTempName(const std::string& folder, std::initializer_list<const char*> suffixes,
                             const std::string& avoid = "", const TempNameSource& source = {});

}  // namespace transcoda
