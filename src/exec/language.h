#pragma once
// The one picker of the program's bilingual texts. Every text is written in French and
// in English, French first; CurrentLanguage "EN" picks the English one, anything else the
// French one.

#include <string>
#include <string_view>

namespace transcoda {

std::string Localised(std::string_view french, std::string_view english);

// "Prêt" / "Ready": the status of an idle window.
std::string ReadyText();

}  // namespace transcoda
