#include "cli/terminal_window.h"

#include <unistd.h>

#include <ctime>

#include "cli/cli_texts.h"
#include "cli/progress_records.h"
#include "conversion/item_counter.h"
#include "exec/app_state.h"
#include "exec/language.h"

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
    : out_(out), err_(err), form_(isatty(fileno(out)) != 0 ? LineForm::Terminal : LineForm::Rewrite) {}

void TerminalWindow::SetLineForm(LineForm form) {
    std::lock_guard lock(m_);
    form_ = form;
}

void TerminalWindow::SetRecords(ProgressRecords* records, std::vector<size_t> recordOf,
                                std::function<std::optional<TimingFigures>()> figures) {
    std::lock_guard lock(m_);
    records_ = records;
    recordOf_ = std::move(recordOf);
    figures_ = std::move(figures);
}

void TerminalWindow::SetQueue(ConversionQueue queue) {
    std::lock_guard lock(m_);
    queue_ = std::move(queue);
    shownItem_ = 0;
}

std::string ProgressLineText(std::string status, std::string progress, std::string time) {
    std::string line;
    for (std::string* part : {&status, &progress, &time}) {
        part->erase(part->find_last_not_of(' ') + 1);
        if (!part->empty()) line += (line.empty() ? "" : "  ") + *part;
    }
    return line;
}

std::string TerminalWindow::LineLocked() const { return ProgressLineText(status_, progress_, time_); }

void TerminalWindow::DrawLocked() {
    const std::string line = LineLocked();
    const size_t width = Width(line);
    std::string text = "\r" + line;
    if (form_ == LineForm::Terminal) {
        text += "\033[K";
    } else if (width < drawnWidth_) {
        text += std::string(drawnWidth_ - width, ' ');
    }
    drawnWidth_ = width;
    std::fputs(text.c_str(), out_);
    std::fflush(out_);
    lineOpen_ = true;
}

// Between steps the status is "Ready": nothing to say then. A step's first percent is
// told at once, however short the step; after it, at most one line a second.
void TerminalWindow::PlainLocked(bool newStep) {
    if (status_.empty() || status_ == ReadyText()) return;
    if (newStep) stepPercentTold_ = false;
    const auto now = std::chrono::steady_clock::now();
    const bool firstPercent = !stepPercentTold_ && !progress_.empty();
    if (!newStep && !firstPercent && now - plainAt_ < std::chrono::seconds(1)) return;
    const std::string line = LineLocked();
    if (line == plainLine_) return;
    std::fprintf(out_, "%s\n", line.c_str());
    std::fflush(out_);
    plainAt_ = now;
    plainLine_ = line;
    if (!progress_.empty()) stepPercentTold_ = true;
}

void TerminalWindow::RecordLocked() {
    if (records_ == nullptr || status_.empty() || status_ == ReadyText() || running_ >= recordOf_.size()) return;
    const std::optional<TimingFigures> figures = figures_ ? figures_() : std::nullopt;
    records_->Converting(recordOf_[running_], status_, figures ? figures->DoneShare : std::nullopt,
                         figures ? figures->RemainingMs : std::nullopt);
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
    if (form_ == LineForm::Silent) return;
    EndLineLocked();
    std::fprintf(out_, "%s\n", text.c_str());
    std::fflush(out_);
}

// The status, the progress text and the time label on one line; no title and no bar on
// a terminal: the progress line says it all.
void TerminalWindow::ShowDisplay(const DisplayChange& change) {
    std::lock_guard lock(m_);
    const bool newStep = change.StatusText && *change.StatusText != status_;
    const bool redraw = newStep || (change.ProgressText && *change.ProgressText != progress_) ||
                        (change.TimeText && *change.TimeText != time_);
    if (change.StatusText) status_ = *change.StatusText;
    if (change.ProgressText) progress_ = *change.ProgressText;
    if (change.TimeText) time_ = *change.TimeText;
    if (!redraw) return;
    if (form_ == LineForm::Terminal || form_ == LineForm::Rewrite) DrawLocked();
    if (form_ == LineForm::Plain) PlainLocked(newStep);
    RecordLocked();
}

// No caption on a terminal.
void TerminalWindow::SetActionText(const std::string&) {}

void TerminalWindow::ShowMessage(const std::string& text) {
    std::lock_guard lock(m_);
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

std::string TerminalWindow::LogStamp(const std::string& marker) { return TerminalLogStamp(marker); }

std::string TerminalLogStamp(const std::string& marker) {
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
    const QueueItem* item = queue_.Find(report.Item);
    if (item == nullptr) return;
    const size_t place = static_cast<size_t>(queue_.IndexOf(report.Item));
    if (report.Status.Kind != ItemStatus::State::Converting) {
        if (records_ != nullptr && place < recordOf_.size()) records_->Ended(recordOf_[place], report.Status);
        return;
    }
    // Each item reports converting first, then its percentages: only the first is a start.
    if (report.Item == shownItem_) return;
    shownItem_ = report.Item;
    running_ = place;
    if (form_ == LineForm::Silent) return;
    EndLineLocked();
    std::fprintf(out_, "%s\n",
                 CliItemLine(ItemCounterText(static_cast<int>(place) + 1, static_cast<int>(queue_.Size())),
                             item->Input, item->Output)
                     .c_str());
    std::fflush(out_);
}

bool TerminalWindow::RestoreConvertButton(bool) { return true; }

}  // namespace transcoda::cli
