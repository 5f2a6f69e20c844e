#pragma once
// The paths that a DVD recipe writes below its output folder (a folder path ending
// with "/").

#include <string>

namespace transcoda {

inline constexpr const char* kDvdFolderName = "DVD-Disc1";
inline constexpr const char* kDvdStreamName = "tmpvdv.mpg";

// output + "DVD-Disc1"
inline std::string DvdFolderPath(const std::string& output) { return output + kDvdFolderName; }
// output + "DVD-Disc1/tmpvdv.mpg"
inline std::string DvdStreamPath(const std::string& output) {
    return DvdFolderPath(output) + "/" + kDvdStreamName;
}

}  // namespace transcoda
