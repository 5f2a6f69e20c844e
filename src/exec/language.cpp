#include "exec/language.h"

#include "exec/app_state.h"

namespace transcoda {

std::string Localised(std::string_view french, std::string_view english) {
    return std::string(App().English() ? english : french);
}

std::string ReadyText() { return Localised("Prêt", "Ready"); }

}  // namespace transcoda
