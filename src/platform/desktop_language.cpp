#include "platform/desktop_language.h"

#include <cstdlib>

namespace transcoda {

std::string LanguageCode(std::string_view text) {
    if (text == "FR" || text == "EN") return std::string(text);
    return {};
}

std::string LocaleLanguage(const char* locale) {
    const std::string_view name = locale == nullptr ? std::string_view() : std::string_view(locale);
    // The language part: what comes before the territory, the code set and the modifier.
    const std::string_view language = name.substr(0, name.find_first_of("_.@"));
    if (language.empty() || language == "C" || language == "POSIX" || language.starts_with("fr")) return "FR";
    return "EN";
}

std::string DesktopLanguage() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0') return LocaleLanguage(value);
    }
    return LocaleLanguage(nullptr);
}

std::string StartLanguage(std::string_view chosen) {
    const char* asked = std::getenv(kLanguageVariable);
    if (std::string code = LanguageCode(asked == nullptr ? "" : asked); !code.empty()) return code;
    if (std::string code = LanguageCode(chosen); !code.empty()) return code;
    return DesktopLanguage();
}

}  // namespace transcoda
