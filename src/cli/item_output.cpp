#include "cli/item_output.h"

namespace transcoda::cli {

// The progress line is drawn as "\r" + text, padded with blanks over a longer text drawn
// before; a line that does not begin with "\r" is a line of its own.
void ItemOutput::TakeProgress(const std::string& line) {
    std::string text = line.substr(line.rfind('\r') + 1);
    text.erase(text.find_last_not_of(' ') + 1);
    progress_ = text;
}

std::vector<std::string> ItemOutput::Feed(std::string_view piece) {
    pending_.append(piece);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = pending_.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = pending_.substr(start, end - start);
        if (!line.empty() && line[0] == '\r') TakeProgress(line);
        else lines.push_back(std::move(line));
    }
    pending_.erase(0, start);
    // The progress line is written whole at each change, so what follows the last "\r"
    // of an unfinished line is the progress as it stands now.
    // Only the last of them is kept: a long conversion redraws it many times.
    if (!pending_.empty() && pending_[0] == '\r') {
        TakeProgress(pending_);
        pending_.erase(0, pending_.rfind('\r'));
    }
    return lines;
}

std::vector<std::string> ItemOutput::Finish() {
    std::vector<std::string> lines;
    if (!pending_.empty() && pending_[0] != '\r') lines.push_back(pending_);
    pending_.clear();
    return lines;
}

}  // namespace transcoda::cli
