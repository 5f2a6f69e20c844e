#pragma once
// What the converter process of one list item prints on its terminal (a pipe read by
// the process that runs the list), read piece by piece: its progress line, rewritten in
// place after each "\r", and its whole lines (messages and the diagnostic log).

#include <string>
#include <string_view>
#include <vector>

namespace transcoda::cli {

class ItemOutput {
public:
    // Takes the next piece as it was read; returns the whole lines it completed, other
    // than the progress line.
    std::vector<std::string> Feed(std::string_view piece);
    // At the end of the output: a last line left without its end, if any.
    std::vector<std::string> Finish();
    // The progress line as it stands, without the blanks that covered a longer one.
    const std::string& Progress() const { return progress_; }

private:
    void TakeProgress(const std::string& line);

    std::string pending_;
    std::string progress_;
};

}  // namespace transcoda::cli
