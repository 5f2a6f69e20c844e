#include "time_rewriter.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace helpers {
namespace {

constexpr char kKey[] = "time=";
constexpr size_t kKeyLen = 5;

bool IsValueChar(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.' || c == '-';
}

}  // namespace

std::string HmsToSeconds(const std::string& value) {
    std::string v = value;
    std::string sign;
    if (!v.empty() && v[0] == '-') {
        sign = "-";
        v.erase(0, 1);
    }
    size_t c1 = v.find(':');
    size_t c2 = c1 == std::string::npos ? c1 : v.find(':', c1 + 1);
    size_t dot = c2 == std::string::npos ? c2 : v.find('.', c2 + 1);
    if (dot == std::string::npos) return value;
    auto digits = [&](size_t from, size_t to) {
        if (to <= from) return false;
        for (size_t i = from; i < to; ++i)
            if (!std::isdigit(static_cast<unsigned char>(v[i]))) return false;
        return true;
    };
    if (!digits(0, c1) || !digits(c1 + 1, c2) || !digits(c2 + 1, dot) || !digits(dot + 1, v.size()))
        return value;
    long long seconds = std::stoll(v.substr(0, c1)) * 3600 + std::stoll(v.substr(c1 + 1, c2 - c1 - 1)) * 60 +
                        std::stoll(v.substr(c2 + 1, dot - c2 - 1));
    return sign + std::to_string(seconds) + v.substr(dot);
}

std::string TimeRewriter::Rewritten(const std::string& value) const {
    const std::string seconds = HmsToSeconds(value);
    if (!ceiling_ || seconds == value) return seconds;
    const double limit = ceiling_();
    if (std::strtod(seconds.c_str(), nullptr) <= limit) return seconds;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", limit);
    return text;
}

std::string TimeRewriter::Feed(const std::string& piece) {
    pending_ += piece;
    std::string out;
    size_t pos = 0;
    while (true) {
        size_t key = pending_.find(kKey, pos);
        if (key == std::string::npos) {
            // Keep a tail that could be the beginning of the key.
            size_t keep = 0;
            for (size_t k = kKeyLen - 1; k > 0; --k) {
                if (pending_.size() - pos >= k && pending_.compare(pending_.size() - k, k, kKey, k) == 0) {
                    keep = k;
                    break;
                }
            }
            out.append(pending_, pos, pending_.size() - pos - keep);
            pending_.erase(0, pending_.size() - keep);
            return out;
        }
        size_t start = key + kKeyLen;
        size_t end = start;
        while (end < pending_.size() && IsValueChar(pending_[end])) ++end;
        if (end == pending_.size()) {
            // The value may go on in the next piece.
            out.append(pending_, pos, key - pos);
            pending_.erase(0, key);
            return out;
        }
        out.append(pending_, pos, start - pos);
        out += Rewritten(pending_.substr(start, end - start));
        pos = end;
    }
}

std::string TimeRewriter::Flush() {
    std::string rest;
    size_t key = pending_.find(kKey);
    if (key != std::string::npos) {
        size_t start = key + kKeyLen;
        rest = pending_.substr(0, start) + Rewritten(pending_.substr(start));
    } else {
        rest = pending_;
    }
    pending_.clear();
    return rest;
}

}  // namespace helpers
