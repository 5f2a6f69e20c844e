#pragma once
// Which language, "FR" or "EN", a front end speaks. Asked for first (the command line's
// --lang, then TRANSCODA_LANGUAGE), then chosen by the user in the window (kept in the
// preferences, see preferences.h), then the desktop's: the locale as LC_ALL, LC_MESSAGES
// and LANG name it, the first of them set. A French locale ("fr", "fr_CA.UTF-8" ...),
// the C or POSIX locale, or none at all gives French; any other locale English.
//
// Standard C++ and the environment only: the window and transcoda-cli both use it.

#include <string>
#include <string_view>

namespace transcoda {

inline constexpr const char* kLanguageVariable = "TRANSCODA_LANGUAGE";

// "FR" or "EN" when text is one of them, empty otherwise.
std::string LanguageCode(std::string_view text);

// The language of a locale name; null or empty counts as no locale (French).
std::string LocaleLanguage(const char* locale);

// The language of the desktop, from the environment's locale variables.
std::string DesktopLanguage();

// The language to start in: TRANSCODA_LANGUAGE when it names one, else `chosen` when it
// names one, else the desktop's. The command line's --lang overrides the result.
std::string StartLanguage(std::string_view chosen = {});

}  // namespace transcoda
