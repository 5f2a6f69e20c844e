#include "recipes/input_pin.h"

#include <sys/stat.h>

#include <utility>

#include "exec/language.h"

namespace transcoda {

InputPin::InputPin(std::string input) : input_(std::move(input)), noted_(IdentityOf(input_)) {}

bool InputPin::Unchanged() const { return IdentityOf(input_) == noted_; }

std::string InputChangedText() {
    return Localised("car le fichier d'entrée a changé pendant la conversion ; rien n'a été écrit",
                     "because the input file changed during the conversion; nothing was written");
}

bool ExistsButIsNotRegular(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

std::string NotRegularInputText(const std::string& path) {
    return Localised("Le fichier d'entrée \"" + path +
                         "\" n'est pas un fichier ordinaire (tube, prise, périphérique ou dossier) : il ne peut pas "
                         "être converti.",
                     "The input \"" + path +
                         "\" is not a regular file (a pipe, a socket, a device or a folder): it cannot be converted.");
}

}  // namespace transcoda
