#include "whole_lines.h"

namespace helpers {

std::string WholeLines::Feed(const std::string& piece) {
    held_ += piece;
    size_t cut = held_.find_last_of("\r\n");
    if (cut == std::string::npos) return "";
    std::string out = held_.substr(0, cut + 1);
    held_.erase(0, cut + 1);
    return out;
}

std::string WholeLines::Flush() {
    std::string out;
    out.swap(held_);
    return out;
}

}  // namespace helpers
