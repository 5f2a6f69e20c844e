#pragma once
// The text of a list file (--list).

#include <string>

namespace transcoda::cli {

// Files larger than this are refused.
inline constexpr long long kMaxListFileBytes = 16 << 20;

// Reads the list file into `text`: a regular file only, and at most kMaxListFileBytes,
// so that a device (/dev/zero), a FIFO or a link to either never keeps the program
// reading. Returns the error text, empty when the text was read.
std::string ReadListFile(const std::string& path, std::string& text);

}  // namespace transcoda::cli
