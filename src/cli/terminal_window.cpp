#include "cli/terminal_window.h"

#include <unistd.h>

#include <ctime>

#include "cli/cli_texts.h"
#include "conversion/item_counter.h"
#include "exec/app_state.h"

namespace transcoda::cli {

namespace {
// Characters on the screen, counting each UTF-8 sequence once.
size_t Width(const std::string& text) {
    size_t width = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++width;
    return width;
}
}  // namespace

TerminalWindow::TerminalWindow(std::FILE* out, std::FILE* err)
    : out_(out), err_(err), tty_(isatty(fileno(out)) != 0) {}

void TerminalWindow::SetQueue(ConversionQueue queue) {
    std::lock_guard lock(m_);
    queue_ = std::move(queue);
    shownItem_ = 0;
}

void TerminalWindow::DrawLocked() {
    std::string line = status_;
    if (!progress_.empty()) line += (line.empty() ? "" : "  ") + progress_;
    if (!time_.empty()) line += (line.empty() ? "" : "  ") + time_;
    const size_t width = Width(line);
    std::string text = "\r" + line;
    if (tty_) {
        text += "\033[K";
    } else if (width < drawnWidth_) {
        text += std::string(drawnWidth_ - width, ' ');
    }
    drawnWidth_ = width;
    std::fputs(text.c_str(), out_);
    std::fflush(out_);
    lineOpen_ = true;
}

void TerminalWindow::EndLineLocked() {
    if (!lineOpen_) return;
    std::fputc('\n', out_);
    std::fflush(out_);
    lineOpen_ = false;
    drawnWidth_ = 0;
}

void TerminalWindow::EndLine() {
    std::lock_guard lock(m_);
    EndLineLocked();
}

void TerminalWindow::PrintLine(const std::string& text) {
    std::lock_guard lock(m_);
    EndLineLocked();
    std::fprintf(out_, "%s\n", text.c_str());
    std::fflush(out_);
}

// The status, the progress text and the time label on one line; no title and no bar on
// a terminal: the progress line says it all.
void TerminalWindow::ShowDisplay(const DisplayChange& change) {
    std::lock_guard lock(m_);
    const bool redraw = (change.StatusText && *change.StatusText != status_) ||
                        (change.ProgressText && *change.ProgressText != progress_) ||
                        (change.TimeText && *change.TimeText != time_);
    if (change.StatusText) status_ = *change.StatusText;
    if (change.ProgressText) progress_ = *change.ProgressText;
    if (change.TimeText) time_ = *change.TimeText;
    if (redraw) DrawLocked();
}

// No caption on a terminal.
void TerminalWindow::SetActionText(const std::string&) {}

void TerminalWindow::HoldMessages() {
    std::lock_guard lock(m_);
    holdMessages_ = true;
}

std::vector<std::string> TerminalWindow::HeldMessages() {
    std::lock_guard lock(m_);
    return held_;
}

void TerminalWindow::ShowMessage(const std::string& text) {
    std::lock_guard lock(m_);
    if (holdMessages_) {
        held_.push_back(text);
        return;
    }
    EndLineLocked();
    std::fprintf(err_, "%s\n", text.c_str());
    std::fflush(err_);
}

std::string IndentedDetails(const std::string& details) {
    std::string indented;
    for (size_t start = 0; start < details.size();) {
        const size_t end = details.find('\n', start);
        indented += "    " + details.substr(start, end == std::string::npos ? end : end - start) + "\n";
        start = end == std::string::npos ? details.size() : end + 1;
    }
    return indented;
}

void TerminalWindow::ShowFailure(const std::string& text, const std::string& details) {
    std::lock_guard lock(m_);
    if (holdMessages_) {
        held_.push_back(text);
        return;
    }
    EndLineLocked();
    std::fprintf(err_, "%s\n%s", text.c_str(), IndentedDetails(details).c_str());
    std::fflush(err_);
}

void TerminalWindow::AppendLog(const std::string& line) {
    std::lock_guard lock(m_);
    EndLineLocked();
    std::fprintf(err_, "%s\n", line.c_str());
    std::fflush(err_);
}

std::string TerminalWindow::LogStamp(const std::string& marker) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[16], time[16];
    std::strftime(date, sizeof date, "%d/%m/%Y", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    return marker + date + " à " + time;
}

void TerminalWindow::ShowItem(const ItemReport& report) {
    std::lock_guard lock(m_);
    // Each item reports converting first, then its percentages: only the first is a start.
    if (report.Item == shownItem_ || report.Status.Kind != ItemStatus::State::Converting) return;
    const QueueItem* item = queue_.Find(report.Item);
    if (item == nullptr) return;
    shownItem_ = report.Item;
    EndLineLocked();
    std::fprintf(out_, "%s\n",
                 CliItemLine(ItemCounterText(queue_.IndexOf(report.Item) + 1, static_cast<int>(queue_.Size())),
                             item->Input, item->Output)
                     .c_str());
    std::fflush(out_);
}

bool TerminalWindow::RestoreConvertButton(bool) { return true; }

}  // namespace transcoda::cli
