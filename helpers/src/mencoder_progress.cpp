#include "mencoder_progress.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace helpers {

std::string FormatPosLine(double seconds, long frames, int percent, double fps, int remainingMinutes,
                          int estimatedMb) {
    char pos[32];
    std::snprintf(pos, sizeof pos, "%.1f", seconds);
    // Two blanks at least before the number, as in mencoder's own lines for short
    // positions, so that readers skipping a fixed number of characters keep every digit.
    int width = std::max<int>(6, static_cast<int>(std::string(pos).size()) + 2);
    char line[160];
    std::snprintf(line, sizeof line, "Pos:%*.1fs %6ldf (%2d%%) %5.2ffps Trem:%4dmin %3dmb  A-V:0.000 [0:0]\r", width,
                  seconds, frames, percent, fps, remainingMinutes, estimatedMb);
    return line;
}

std::string ProgressTranslator::Feed(const std::string& piece) {
    partial_ += piece;
    std::string out;
    size_t nl;
    while ((nl = partial_.find('\n')) != std::string::npos) {
        std::string line = partial_.substr(0, nl);
        partial_.erase(0, nl + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        block_[key] = value;
        if (key == "progress") {
            out += Emit();
            block_.clear();
        }
    }
    return out;
}

std::string ProgressTranslator::Emit() {
    using Clock = std::chrono::steady_clock;
    double now = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
    if (startedAt_ < 0) startedAt_ = now;
    double pos = 0;
    auto it = block_.find("out_time_us");
    if (it != block_.end() && it->second != "N/A") pos = std::max(0.0, std::atof(it->second.c_str()) / 1e6);
    long frames = block_.count("frame") ? std::atol(block_["frame"].c_str()) : 0;
    double fps = block_.count("fps") ? std::atof(block_["fps"].c_str()) : 0.0;
    double size = block_.count("total_size") ? std::atof(block_["total_size"].c_str()) : 0.0;
    int pct = percent_;
    if (expected_ > 0) pct = std::max(pct, std::min(100, static_cast<int>(pos * 100.0 / expected_)));
    percent_ = pct;
    int trem = 0, mb = 0;
    if (pct > 0) {
        trem = static_cast<int>((now - startedAt_) * (100 - pct) / pct / 60.0);
        mb = static_cast<int>(size * 100.0 / pct / (1024 * 1024));
    }
    return FormatPosLine(pos, frames, pct, fps, trem, mb);
}

}  // namespace helpers
