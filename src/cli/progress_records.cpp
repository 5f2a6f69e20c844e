#include "cli/progress_records.h"

#include <charconv>
#include <cmath>

#include "recipes/format_catalogue.h"

namespace transcoda::cli {

namespace {

using Clock = std::chrono::steady_clock;

// The length of the valid UTF-8 sequence at text[i], 0 when there is none.
size_t Utf8Length(const std::string& text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    size_t length = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    // No overlong form, no surrogate, nothing past U+10FFFF.
    if ((c == 0xE0 && byte(i + 1) < 0xA0) || (c == 0xED && byte(i + 1) > 0x9F) ||
        (c == 0xF0 && byte(i + 1) < 0x90) || (c == 0xF4 && byte(i + 1) > 0x8F))
        return 0;
    return length;
}

// A number of the JSON grammar with one decimal, whatever the locale.
std::string Number(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::round(value * 10.0) / 10.0,
                                   std::chars_format::fixed, 1);
    return std::string(buffer, end.ptr);
}

std::string OptionalNumber(std::optional<double> value) { return value ? Number(*value) : "null"; }

double Seconds(Clock::duration span) { return std::chrono::duration<double>(span).count(); }

}  // namespace

std::string JsonString(const std::string& text) {
    std::string json = "\"";
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t length = Utf8Length(text, i);
        if (length == 0) {
            json += "\uFFFD";
            ++i;
            continue;
        }
        if (c == '"' || c == '\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            static const char* hex = "0123456789abcdef";
            json += "\\u00";
            json += hex[c >> 4];
            json += hex[c & 15];
        } else {
            json.append(text, i, length);
        }
        i += length;
    }
    return json + "\"";
}

ProgressRecords::ProgressRecords(std::FILE* out, std::vector<ConversionRequest> items)
    : out_(out), begin_(Clock::now()) {
    for (ConversionRequest& request : items) {
        Entry entry;
        entry.Request = std::move(request);
        items_.push_back(std::move(entry));
    }
}

// The item's number and the fields that never change, "item" first.
std::string ProgressRecords::Prefix(size_t index) const {
    return "{\"item\":" + std::to_string(index + 1) + ",\"items\":" + std::to_string(items_.size()) + ",";
}

void ProgressRecords::WriteLocked(size_t index, std::optional<double> done, std::optional<int64_t> leftMs,
                                  const std::string& message) {
    const Entry& item = items_[index];
    const ConversionRequest& request = item.Request;
    const FormatEntry* format = FindFormat(request.FormatLabel);
    std::string line = Prefix(index) + "\"input\":" + JsonString(request.InputPath) +
                       ",\"output\":" + JsonString(request.OutputPath) +
                       ",\"preset\":" + (format != nullptr ? std::to_string(format->Index) : "null") +
                       ",\"label\":" + JsonString(request.FormatLabel) +
                       ",\"step\":" + (item.Step.empty() ? "null" : JsonString(item.Step)) +
                       ",\"state\":\"" + item.State + "\",\"percent\":" +
                       OptionalNumber(done ? std::optional<double>(*done * 100.0) : std::nullopt) +
                       ",\"elapsed\":" + Number(item.Elapsed) + ",\"left\":" +
                       OptionalNumber(leftMs ? std::optional<double>(static_cast<double>(*leftMs) / 1000.0)
                                             : std::nullopt);
    if (!message.empty()) line += ",\"message\":" + JsonString(message);
    std::fprintf(out_, "%s}\n", line.c_str());
    std::fflush(out_);
}

void ProgressRecords::Begin() {
    std::lock_guard lock(m_);
    for (size_t i = 0; i < items_.size(); ++i) WriteLocked(i, std::nullopt, std::nullopt, "");
}

void ProgressRecords::Converting(size_t index, const std::string& step, std::optional<double> done,
                                 std::optional<int64_t> leftMs) {
    std::lock_guard lock(m_);
    if (index >= items_.size() || items_[index].Ended) return;
    Entry& item = items_[index];
    const auto now = Clock::now();
    if (!item.Start) item.Start = now;
    const bool news = item.State != "converting" || step != item.Step;
    if (!news && now - item.LastTold < std::chrono::seconds(1)) return;
    item.State = "converting";
    item.Step = step;
    item.LastTold = now;
    item.Elapsed = Seconds(now - *item.Start);
    WriteLocked(index, done, leftMs, "");
}

void ProgressRecords::EndLocked(size_t index, const std::string& state, const std::string& message) {
    if (index >= items_.size() || items_[index].Ended) return;
    Entry& item = items_[index];
    item.Ended = true;
    item.State = state;
    item.Step.clear();
    item.Elapsed = item.Start ? Seconds(Clock::now() - *item.Start) : 0.0;
    WriteLocked(index, state == "written" ? std::optional<double>(1.0) : std::nullopt, std::nullopt, message);
}

void ProgressRecords::Ended(size_t index, const ItemStatus& status) {
    using State = ItemStatus::State;
    std::lock_guard lock(m_);
    std::string reason = status.Reason;
    // The reason as the list's column shows it follows "failed": its separator goes.
    reason.erase(0, reason.find_first_not_of(" :"));
    switch (status.Kind) {
        case State::Done: EndLocked(index, "written", ""); break;
        case State::Failed: EndLocked(index, "failed", reason); break;
        case State::Stopped: EndLocked(index, "stopped", ""); break;
        default: break;
    }
}

void ProgressRecords::Kept(size_t index) {
    std::lock_guard lock(m_);
    EndLocked(index, "kept", "");
}

void ProgressRecords::Finish(bool stopped, const std::string& message) {
    std::lock_guard lock(m_);
    for (size_t i = 0; i < items_.size(); ++i) {
        if (!items_[i].Ended) EndLocked(i, stopped ? "stopped" : "failed", stopped ? "" : message);
    }
    int written = 0, kept = 0, failed = 0, halted = 0;
    for (const Entry& item : items_) {
        written += item.State == "written";
        kept += item.State == "kept";
        failed += item.State == "failed";
        halted += item.State == "stopped";
    }
    const char* state = stopped || halted > 0 ? "stopped" : failed > 0 ? "failed" : "written";
    std::fprintf(out_,
                 "{\"list\":true,\"items\":%zu,\"written\":%d,\"kept\":%d,\"failed\":%d,\"stopped\":%d,"
                 "\"state\":\"%s\",\"elapsed\":%s}\n",
                 items_.size(), written, kept, failed, halted, state, Number(Seconds(Clock::now() - begin_)).c_str());
    std::fflush(out_);
}

}  // namespace transcoda::cli
