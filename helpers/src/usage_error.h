#pragma once
// A command line that a tool refuses; what() is the one-line message it prints.

#include <stdexcept>
#include <string>

namespace helpers {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace helpers
