#include "conversion/reason_language.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

#include "recipes/step_outcome.h"

namespace transcoda {

namespace {

struct Phrase {
    std::string French;
    std::string English;
};

// The phrases of the reasons the conversions give: the dispatcher's refusals before a
// start (first letter lowered, final stop dropped), the failed steps and their tools'
// ends, the checks of the input and of the file written, the output's refusals.
const char* const kPhrases[][2] = {
    {"avant de commencer : ", "before it began: "},
    {" (fichier ", " (file "},
    {") : ", "): "},
    {" : le disque qui contient le dossier ", ": the disk that holds the folder "},
    {" est plein ; libérez de la place ou choisissez un autre dossier",
     " is full; make room there or choose another folder"},
    {"l'outil s'est terminé avec le code ", "the tool exited with status "},
    {"la conversion a été arrêtée", "the conversion was stopped"},
    {"l'outil a été arrêté de l'extérieur par le signal ", "the tool was ended from outside by signal "},
    {"l'outil n'a pas pu être lancé", "the tool could not be started"},
    {"le fichier écrit ne peut pas être relu", "the file written cannot be read back"},
    {"le fichier écrit ne contient pas d'image", "the file written holds no picture"},
    {"le fichier écrit ne contient pas de son", "the file written holds no sound"},
    {"l'image du fichier écrit dure ", "the picture of the file written lasts "},
    {"le son du fichier écrit dure ", "the sound of the file written lasts "},
    {" au lieu de ", " instead of "},
    {"la première ou la dernière image du fichier écrit n'est pas celle du fichier d'entrée au début ou à la fin "
     "du passage demandé",
     "the first or last picture of the file written is not the input's picture at the start or end of the segment "
     "asked for"},
    {"car le fichier d'entrée a changé pendant la conversion ; rien n'a été écrit",
     "because the input file changed during the conversion; nothing was written"},
    {" n'a pas pu être renommé en ", " could not be renamed to "},
    {"aucun dossier de travail privé n'a pu être créé (ni dans $XDG_RUNTIME_DIR, ni dans le dossier de cache de "
     "l'utilisateur, ni dans le dossier temporaire)",
     "no private work folder could be made (in $XDG_RUNTIME_DIR, in the user's cache folder or in the temporary "
     "folder)"},
    {"le fichier d'entrée ", "the input "},
    {" n'est pas un fichier ordinaire (tube, prise, périphérique ou dossier) : il ne peut pas être converti",
     " is not a regular file (a pipe, a socket, a device or a folder): it cannot be converted"},
    {"le fichier de sortie ", "the output file "},
    {"le dossier de sortie ", "the output folder "},
    {" est refusé : ", " is refused: "},
    {"aucun fichier de sortie n'est indiqué", "no output file is given"},
    {"un nom de son chemin dépasse 255 octets, la limite des systèmes de fichiers",
     "a name in its path is longer than 255 bytes, the file systems' limit"},
    {"c'est un fichier du programme lui-même", "it is one of the program's own files"},
    {"ce n'est pas un dossier", "it is not a folder"},
    {"vous n'avez pas le droit d'y écrire", "you may not write in it"},
    {"c'est un dossier, pas un fichier", "it is a folder, not a file"},
    {"ce n'est pas un fichier ordinaire (périphérique, tube ou autre)",
     "it is not a regular file (a device, a pipe or the like)"},
    {"vous n'avez pas le droit de le modifier", "you may not write it"},
    {"vous n'avez pas le droit d'écrire dans son dossier", "you may not write in its folder"},
    {"le fichier de sortie serait le fichier d'entrée lui-même", "the output would be the input file itself"},
    {"le fichier d'entrée n'existe plus (déplacé ou supprimé)", "the input file no longer exists (moved or deleted)"},
    {"le fichier d'entrée ne peut pas être lu (format inconnu ou fichier abîmé)",
     "the input file cannot be read (unknown format or damaged file)"},
    {"le fichier d'entrée ne contient ni image ni son à lire : ses pistes sont vides",
     "the input holds no picture and no sound to read: its streams are empty"},
    {"le fichier d'entrée ne contient que du son, et ce format de sortie demande une image",
     "the input holds only sound, and this output format needs a picture"},
    {"le fichier d'entrée ne contient pas de son", "the input holds no sound"},
    {"le passage à extraire commence après la fin du fichier d'entrée, qui dure ",
     "the segment to extract starts after the end of the input, which lasts "},
    {"le décalage demandé (", "the lag asked for ("},
    {") n'est pas plus court que le son du fichier d'entrée, qui dure ",
     ") is not shorter than the sound of the input, which lasts "},
    {" : il n'en resterait rien", ": none of it would be left"},
    {" : le fichier ou le format n'est pas pris en charge", ": the file or the format is not supported"},
};

// Every phrase, the longest first so that a phrase wins over the shorter ones it holds.
std::vector<Phrase> AllPhrases() {
    std::vector<Phrase> phrases;
    for (const auto& p : kPhrases) phrases.push_back({p[0], p[1]});
    for (const StepNames& step : AllStepNames()) {
        phrases.push_back({std::string("à l'étape « ") + step.French + " »",
                           std::string("at the step \"") + step.English + "\""});
    }
    std::stable_sort(phrases.begin(), phrases.end(), [](const Phrase& a, const Phrase& b) {
        return std::max(a.French.size(), a.English.size()) > std::max(b.French.size(), b.English.size());
    });
    return phrases;
}

const std::vector<Phrase>& Phrases() {
    static const std::vector<Phrase> phrases = AllPhrases();
    return phrases;
}

bool Digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// A length in seconds, "12,5 s" in French and "12.5 s" in English, at `at`: its size, 0
// when there is none.
size_t SecondsAt(std::string_view text, size_t at) {
    size_t end = at;
    while (end < text.size() && Digit(text[end])) ++end;
    if (end == at || end + 1 >= text.size() || (text[end] != ',' && text[end] != '.') || !Digit(text[end + 1]))
        return 0;
    size_t after = end + 1;
    while (after < text.size() && Digit(text[after])) ++after;
    return text.substr(after).starts_with(" s") ? after - at : 0;
}

}  // namespace

std::string ReasonInLanguage(const std::string& reason, bool english) {
    std::string out;
    const std::string_view text(reason);
    size_t at = 0;
    while (at < text.size()) {
        const Phrase* found = nullptr;
        for (const Phrase& p : Phrases())
            if (text.substr(at).starts_with(english ? p.French : p.English)) {
                found = &p;
                break;
            }
        if (found != nullptr) {
            out += english ? found->English : found->French;
            at += (english ? found->French : found->English).size();
        } else if (text[at] == '"') {
            // A file or folder, left as it is.
            const size_t close = text.find('"', at + 1);
            const size_t end = close == std::string_view::npos ? text.size() : close + 1;
            out += text.substr(at, end - at);
            at = end;
        } else if (const size_t length = (at == 0 || !Digit(text[at - 1])) ? SecondsAt(text, at) : 0) {
            std::string number(text.substr(at, length));
            std::replace(number.begin(), number.end(), english ? ',' : '.', english ? '.' : ',');
            out += number;
            at += length;
        } else if (at == 0 && text.starts_with(english ? " : " : ": ")) {
            // The separator before a folder's error, which is the same in both languages.
            out += english ? ": " : " : ";
            at += english ? 3 : 2;
        } else {
            out += text[at++];
        }
    }
    return out;
}

}  // namespace transcoda
