#include "exec/tool_tail.h"

#include "exec/output_parsers.h"
#include "exec/stream_report.h"

namespace transcoda {

namespace {
bool Kept(const std::string& line) {
    return !line.empty() && !line.starts_with(kStreamReportMarker);
}
}  // namespace

void ToolTail::EndLine() {
    std::string line = TrimControl(current_);
    current_.clear();
    returned_ = false;
    if (!Kept(line)) return;
    lines_.push_back(std::move(line));
    if (lines_.size() > kLines) lines_.pop_front();
}

void ToolTail::Feed(const char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\n') {
            EndLine();
        } else if (c == '\r') {
            returned_ = true;
        } else {
            if (returned_) {
                // The tool writes over the line from its start (a carriage return
                // followed by a line feed only ends the line).
                current_.clear();
                returned_ = false;
            }
            if (current_.size() < kLineLength) current_.push_back(c);
        }
    }
}

std::vector<std::string> ToolTail::Lines() const {
    std::vector<std::string> out(lines_.begin(), lines_.end());
    const std::string last = TrimControl(current_);
    if (Kept(last)) {
        out.push_back(last);
        if (out.size() > kLines) out.erase(out.begin());
    }
    return out;
}

}  // namespace transcoda
