#pragma once
// Looking into an engine's argument vector in the translation tests.

#include <algorithm>
#include <string>
#include <vector>

namespace helpers::test {

using Args = std::vector<std::string>;

// True when needle appears in args as consecutive items.
inline bool HasRun(const Args& args, const Args& needle) {
    return std::search(args.begin(), args.end(), needle.begin(), needle.end()) != args.end();
}

// Position of item in args; args.size() when it is not there.
inline size_t IndexOf(const Args& args, const std::string& item) {
    return static_cast<size_t>(std::find(args.begin(), args.end(), item) - args.begin());
}

inline bool Holds(const Args& args, const std::string& item) { return IndexOf(args, item) < args.size(); }

// "[a][b c]": the arguments with their bounds visible.
inline std::string Joined(const Args& args) {
    std::string s;
    for (const auto& a : args) s += "[" + a + "]";
    return s;
}

}  // namespace helpers::test
