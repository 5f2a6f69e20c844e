#include "whole_lines.h"

#include <string_view>

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

std::string WithoutUnknownDurations(const std::string& lines) {
    std::string kept;
    size_t from = 0;
    while (from < lines.size()) {
        size_t end = lines.find_first_of("\r\n", from);
        end = end == std::string::npos ? lines.size() : end + 1;
        if (std::string_view(lines).substr(from, end - from).find("Duration: N/A") == std::string_view::npos)
            kept.append(lines, from, end - from);
        from = end;
    }
    return kept;
}

}  // namespace helpers
