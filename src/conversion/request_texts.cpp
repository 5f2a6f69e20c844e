#include "conversion/request_texts.h"

#include "exec/language.h"

namespace transcoda {

std::string UnsupportedFormatText() {
    return Localised("Le format cible souhaité n'est pas pris en charge pour le moment.",
                     "The selected format is not supported for the moment.");
}

std::string MissingInputText() {
    return Localised("Le fichier d'entrée n'existe pas, merci de choisir un fichier source qui existe.",
                     "The input file does not existe. Please choose an existing file.");
}

std::string ReplaceOutputText() {
    return Localised("Le fichier de sortie existe déjà, voulez vous le remplacer?",
                     "The destination file already exists, do you want to replace it?");
}

std::string FolderNotEmptyText(const std::string& folder) {
    return Localised("Le dossier " + folder +
                         " n'est pas vide! Merci de choisir un autre dossier vide, sinon les données du dossier "
                         "indiqué vont être perdues. Voulez vous continuer avec le dossier indiqué ?",
                     "The folder " + folder +
                         " is not empty! Please select an empty folder, otherwise all data in the indicated folder "
                         "will be lost. do you want to continue with the indicated folder?");
}

std::string ZeroLagText() {
    return Localised("Le délai de décalage du son indiqué est nul, aucune correction ne sera effectuée!",
                     "The estimated sound's lag has a zero value, your video will not be corrected!");
}

std::string OutputIsInputText() {
    return Localised(
        "Le fichier de sortie est le fichier d'entrée lui-même, merci de choisir un autre fichier de sortie.",
        "The destination file is the input file itself, please choose another destination file.");
}

std::string InputInDvdFolderText() {
    return Localised(
        "Le fichier d'entrée se trouve dans le dossier du DVD à créer, merci de choisir un autre dossier.",
        "The input file lies in the folder of the DVD to create, please choose another folder.");
}

std::string NotForListText() {
    return Localised("La correction et la synchronisation ainsi que l'extraction vidéo/audio se font un fichier à "
                     "la fois et ne peuvent être intégrées dans une liste de conversion."
                     "\r\r"
                     "Merci d’effectuer la correction/synchronisation ou extraction comme vous convertissez un seul "
                     "fichier.",
                     "The video synchronization/correction and the video/audio extraction can not be done on a list."
                     "\r\r"
                     "Please do that as a single conversion.");
}

std::string OutputInListText() {
    return Localised("L’emplacement du fichier à créer existe déjà dans la liste, merci de modifier l’emplacement du "
                     "fichier de sortie.",
                     "The destination file/location exists already on your list, please change the "
                     "destination file/location of the conversion.");
}

std::string RedoDoneItemsText(int done) {
    const std::string n = std::to_string(done);
    if (done == 1)
        return Localised("Un élément de la liste est déjà converti. Le convertir à nouveau, en remplaçant le fichier "
                         "écrit ?\r\rNon : il est laissé tel quel, et seuls les autres sont convertis.",
                         "One item of the list is already converted. Convert it again, replacing the file written?"
                         "\r\rNo: it is left as it is, and only the others are converted.");
    return Localised(n + " éléments de la liste sont déjà convertis. Les convertir à nouveau, en remplaçant les "
                         "fichiers écrits ?\r\rNon : ils sont laissés tels quels, et seuls les autres sont convertis.",
                     n + " items of the list are already converted. Convert them again, replacing the files written?"
                         "\r\rNo: they are left as they are, and only the others are converted.");
}

}  // namespace transcoda
