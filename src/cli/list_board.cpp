#include "cli/list_board.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace transcoda::cli {

namespace {

// The text cut to `width` characters on the screen, counting each UTF-8 sequence once,
// so that no line of the board wraps and moves the lines under it.
std::string Cut(const std::string& text, size_t width) {
    size_t shown = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (shown++ == width) return text.substr(0, i);
    }
    return text;
}

size_t ScreenWidth(std::FILE* out) {
    winsize size{};
    if (ioctl(fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 1) return size.ws_col - 1u;
    return 79;
}

}  // namespace

ListBoard::ListBoard(std::FILE* out, std::FILE* err) : out_(out), err_(err), tty_(isatty(fileno(out)) != 0) {}

void ListBoard::SetItem(int item, const std::string& text, bool idle) {
    items_[item] = text;
    idle_[item] = idle;
}

void ListBoard::RemoveItem(int item) {
    items_.erase(item);
    idle_.erase(item);
    printed_.erase(item);
}

void ListBoard::SetOverall(const std::string& text) { overall_ = text; }

std::vector<std::string> ListBoard::Lines() const {
    std::vector<std::string> lines;
    for (const auto& [item, text] : items_) lines.push_back(text);
    if (!overall_.empty()) lines.push_back(overall_);
    return lines;
}

// The cursor stands at the end of the board's last line: back to the start of its first
// line, and everything below is cleared.
void ListBoard::Erase() {
    if (drawn_.empty()) return;
    std::string text = "\r";
    if (drawn_.size() > 1) text += "\033[" + std::to_string(drawn_.size() - 1) + "A";
    text += "\033[J";
    std::fputs(text.c_str(), out_);
    drawn_.clear();
}

void ListBoard::Draw() {
    const size_t width = ScreenWidth(out_);
    std::string text;
    for (const std::string& line : Lines()) {
        if (!drawn_.empty()) text += '\n';
        drawn_.push_back(Cut(line, width));
        text += drawn_.back();
    }
    std::fputs(text.c_str(), out_);
    std::fflush(out_);
}

void ListBoard::PrintOut(const std::string& line) {
    if (quiet_) return;
    Erase();
    std::fprintf(out_, "%s\n", line.c_str());
    if (tty_) Draw();
    std::fflush(out_);
}

void ListBoard::PrintErr(const std::string& line) {
    if (quiet_) {
        std::fprintf(err_, "%s\n", line.c_str());
        std::fflush(err_);
        return;
    }
    Erase();
    std::fflush(out_);
    std::fprintf(err_, "%s\n", line.c_str());
    std::fflush(err_);
    if (tty_) Draw();
}

void ListBoard::Refresh() {
    if (quiet_) return;
    if (tty_) {
        std::vector<std::string> lines = Lines();
        const size_t width = ScreenWidth(out_);
        for (std::string& line : lines) line = Cut(line, width);
        if (lines == drawn_) return;
        Erase();
        Draw();
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPrint_ < std::chrono::seconds(1)) return;
    lastPrint_ = now;
    for (const auto& [item, text] : items_) {
        auto& last = printed_[item];
        if (text == last || idle_[item]) continue;
        std::fprintf(out_, "%s\n", text.c_str());
        last = text;
    }
    if (overall_ != printedOverall_) {
        std::fprintf(out_, "%s\n", overall_.c_str());
        printedOverall_ = overall_;
    }
    std::fflush(out_);
}

void ListBoard::Close() {
    Erase();
    std::fflush(out_);
}

}  // namespace transcoda::cli
