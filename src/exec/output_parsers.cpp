#include "exec/output_parsers.h"

#include <charconv>
#include <clocale>

namespace transcoda {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

// 1-based position of the first occurrence of `what` in `s` at or after `from`, 0 when
// absent.
size_t Pos(const std::string& what, const std::string& s, size_t from = 1) {
    if (from < 1) from = 1;
    if (from > s.size()) return 0;
    size_t i = s.find(what, from - 1);
    return i == std::string::npos ? 0 : i + 1;
}

// `count` characters of `s` from the 1-based `index`; empty when count is not positive
// or index lies beyond the end.
std::string Copy(const std::string& s, long long index, long long count) {
    if (index < 1) index = 1;
    if (count <= 0 || index > static_cast<long long>(s.size())) return {};
    return s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

// Calls `examine` for every line of the text as the three field parsers see it: the
// whole text trimmed and lower-cased, cut after each carriage return, each such line
// trimmed; what follows the last carriage return is examined as it stands.
template <class Examine>
void ForEachLine(const std::string& text, Examine examine) {
    const std::string all = LowerAscii(TrimControl(text));
    size_t start = 0;
    for (;;) {
        const size_t cr = all.find('\r', start);
        if (cr == std::string::npos) {
            examine(all.substr(start));
            return;
        }
        examine(TrimControl(all.substr(start, cr - start + 1)));
        start = cr + 1;
    }
}

}  // namespace

std::string TrimControl(const std::string& text) {
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

bool ParseWholeNumber(const std::string& text, int32_t& value) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return false;
    }
    if (negative) v = -v;
    if (v > 2147483647LL) return false;
    value = static_cast<int32_t>(v);
    return true;
}

std::string ParseDurationField(const std::string& text) {
    std::string result = "null";
    ForEachLine(text, [&](const std::string& line) {
        size_t p = Pos("duration:", line);
        if (p == 0) return;
        long long q = static_cast<long long>(Pos(",", line));
        result = Copy(line, static_cast<long long>(p) + 10, q - static_cast<long long>(p) - 10);
    });
    return result;
}

std::string ParseTimeField(const std::string& text) {
    std::string result = "null";
    ForEachLine(text, [&](const std::string& line) {
        size_t p = Pos("time", line);
        if (p == 0) return;
        long long q = static_cast<long long>(Pos("bitrate", line));
        result = Copy(line, static_cast<long long>(p) + 5, q - static_cast<long long>(p) - 6);
    });
    return result;
}

std::string ParsePosField(const std::string& text, int32_t& positionCs) {
    std::string result = "null";
    ForEachLine(text, [&](const std::string& line) {
        size_t p = Pos("pos:", line);
        if (p == 0) return;
        long long open = static_cast<long long>(Pos("(", line));
        long long close = static_cast<long long>(Pos(")", line));
        std::string percent = TrimControl(Copy(line, open + 1, close - open - 2));
        // The seconds run from just after "pos:" to the "s " that ends them; the tools
        // pad them to six characters, so from 100 s on there is no blank before them.
        long long start = static_cast<long long>(p) + 4;
        long long end = static_cast<long long>(Pos("s ", line, static_cast<size_t>(start)));
        std::string position = Copy(line, start, end - start);
        if (!position.empty()) {
            std::string digits;
            for (char c : position)
                if (c != '.') digits.push_back(c);
            int32_t n = 0;
            long long cs = 0;
            if (ParseWholeNumber(digits, n) && (cs = static_cast<long long>(n) * 10) <= 2147483647LL &&
                cs >= -2147483647LL - 1) {
                positionCs = static_cast<int32_t>(cs);
            } else {
                percent = "null";
            }
        }
        result = percent;
    });
    return result;
}

int32_t HmsToHundredths(const std::string& text) {
    if (text.size() != 11) return -1;
    int32_t h, m, s, c;
    if (!ParseWholeNumber(text.substr(0, 2), h) || !ParseWholeNumber(text.substr(3, 2), m) ||
        !ParseWholeNumber(text.substr(6, 2), s) || !ParseWholeNumber(text.substr(9, 2), c))
        return -1;
    return h * 360000 + m * 6000 + s * 100 + c;
}

int32_t DotlessNumber(const std::string& text) {
    if (text.find('.') == std::string::npos) return -1;
    std::string digits;
    for (char c : text)
        if (c != '.') digits.push_back(c);
    int32_t v = 0;
    return ParseWholeNumber(digits, v) ? v : -1;
}

std::string FormatTwoDecimals(double value, const std::string& separator) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    std::string out(buf, r.ec == std::errc() ? r.ptr : buf);
    auto dot = out.find('.');
    if (dot != std::string::npos) out.replace(dot, 1, separator);
    return out;
}

std::string FormatTwoDecimals(double value) {
    const lconv* lc = std::localeconv();
    const bool known = lc != nullptr && lc->decimal_point != nullptr && *lc->decimal_point != '\0';
    return FormatTwoDecimals(value, known ? lc->decimal_point : ".");
}

}  // namespace transcoda
