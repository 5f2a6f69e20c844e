#include "cli/cli_texts.h"

#include "conversion/request_texts.h"
#include "exec/language.h"

namespace transcoda::cli {

namespace {
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
}  // namespace

std::string CliUsageText() {
    return Localised(
        "Utilisation :\n"
        "  transcoda-cli --formats                       liste les 40 formats et leur numéro\n"
        "  transcoda-cli -f NUMERO ENTREE [SORTIE]       convertit un fichier\n"
        "  transcoda-cli -f 38 --delay DECALAGE ENTREE [SORTIE]\n"
        "                                                décale le son (secondes, ex. -1.25)\n"
        "  transcoda-cli -f 39 --from HH:MM:SS --to HH:MM:SS ENTREE [SORTIE]\n"
        "                                                extrait un passage\n"
        "  transcoda-cli -f N E S -f N E S ...           convertit une liste\n"
        "  transcoda-cli --list FICHIER                  liste : format (libellé ou numéro),\n"
        "                                                entrée, sortie, séparés par des tabulations\n"
        "  transcoda-cli --list FICHIER --shard K/N      seulement les éléments K, K+N, K+2N ... de la liste\n"
        "                                                (K compte à partir de 1, 1 <= K <= N)\n"
        "  transcoda-cli --version                       la version du programme et de ses moteurs\n"
        "Options : --jobs N (éléments d'une liste convertis à la fois ; par défaut le nombre de\n"
        "          processeurs, limité selon la mémoire libre), --lang EN|FR (majuscules ou minuscules),\n"
        "          --progress auto|plain|json (la progression : auto, par défaut, une ligne réécrite\n"
        "          sur un terminal et des lignes simples ailleurs ; plain, des lignes simples ;\n"
        "          json, un objet JSON par ligne sur la sortie standard),\n"
        "          --debug (journal de diagnostic sur la sortie d'erreur), -h, --help,\n"
        "          -y, --overwrite (remplace une sortie qui existe déjà),\n"
        "          -n, --no-overwrite (garde une sortie qui existe déjà et passe à la suite)\n"
        "Sans SORTIE, le nom est tiré de l'entrée. Une sortie qui existe déjà n'est remplacée qu'avec -y :\n"
        "sans -y ni -n, la question est posée sur un terminal, et l'élément est refusé ailleurs.\n"
        "Ctrl-C, la fermeture du terminal ou un signal d'arrêt arrête la conversion (code 128 + le signal,\n"
        "130 pour Ctrl-C) sans rien laisser derrière.\n"
        "Une option prend sa valeur après une espace ou un signe = (--jobs=2) ; après --, tout est fichier.\n"
        "ENTREE et SORTIE sont des fichiers : - (entrée ou sortie standard) est refusé.\n"
        "Code de sortie 0 seulement quand chaque fichier de sortie a été écrit (ou gardé avec -n) ;\n"
        "1 quand une conversion a échoué ou a été refusée, ou que la sortie standard n'a pu être écrite ;\n"
        "2 pour une ligne de commande incorrecte.\n",
        "Usage:\n"
        "  transcoda-cli --formats                       list the 40 formats with their index\n"
        "  transcoda-cli -f INDEX INPUT [OUTPUT]         convert one file\n"
        "  transcoda-cli -f 38 --delay LAG INPUT [OUTPUT]\n"
        "                                                shift the sound (seconds, e.g. -1.25)\n"
        "  transcoda-cli -f 39 --from HH:MM:SS --to HH:MM:SS INPUT [OUTPUT]\n"
        "                                                cut out a segment\n"
        "  transcoda-cli -f N IN OUT -f N IN OUT ...     convert a list\n"
        "  transcoda-cli --list FILE                     list: format (label or index), input,\n"
        "                                                output, separated by tabs\n"
        "  transcoda-cli --list FILE --shard K/N         only the items K, K+N, K+2N ... of the list\n"
        "                                                (K counts from 1, 1 <= K <= N)\n"
        "  transcoda-cli --version                       the versions of the program and its engines\n"
        "Options: --jobs N (list items converted at once; by default the number of processors,\n"
        "         capped by the free memory), --lang EN|FR (any case),\n"
        "         --progress auto|plain|json (the progress: auto, the default, a line rewritten on a\n"
        "         terminal and plain lines elsewhere; plain, plain lines; json, one JSON object\n"
        "         per line on standard output),\n"
        "         --debug (diagnostic log on standard error), -h, --help,\n"
        "         -y, --overwrite (replace an output that already exists),\n"
        "         -n, --no-overwrite (keep an output that already exists and go on)\n"
        "Without OUTPUT the name is derived from the input. An existing output is replaced only with -y:\n"
        "without -y or -n the question is asked on a terminal, and the item is refused elsewhere.\n"
        "Ctrl-C, a closed terminal or a stop signal stops the conversion (exit 128 + the signal,\n"
        "130 for Ctrl-C) and leaves nothing behind.\n"
        "An option takes its value after a blank or an = sign (--jobs=2); after --, every word is a file.\n"
        "INPUT and OUTPUT are files: - (standard input or output) is refused.\n"
        "Exit status 0 only when every output file was written (or kept with -n); 1 when a conversion\n"
        "failed or was refused, or standard output could not be written; 2 for a wrong command line.\n");
}

std::string CliUnknownIndexText(const std::string& index) {
    return Localised("Le format " + Quoted(index) +
                    " n'existe pas : donnez un numéro de 0 à 39 (voir --formats).",
                "There is no format " + Quoted(index) +
                    ": give an index from 0 to 39 (see --formats).");
}

std::string CliMissingInputText(const std::string& input) {
    // The first sentence is the main window's own text for a missing input.
    return Localised("Le fichier d'entrée n'existe pas, merci de choisir un fichier source qui existe. (" +
                    input + ")",
                "The input file does not existe. Please choose an existing file. (" + input + ")");
}

std::string CliOutputIsInputText(const std::string& path) {
    return Localised("Le fichier de sortie serait le fichier d'entrée lui-même (" + path +
                    ") : merci d'indiquer un autre fichier de sortie.",
                "The output file would be the input file itself (" + path +
                    "): please give another output file.");
}

std::string CliNotForListText() {
    return Localised(
        "La correction et la synchronisation ainsi que l'extraction vidéo/audio se font un "
        "fichier à la fois et ne peuvent être intégrées dans une liste de conversion.",
        "The video synchronization/correction and the video/audio extraction can not be done "
        "on a list.");
}

std::string CliDuplicateOutputText(const std::string& path) { return OutputInListText() + " (" + path + ")"; }

std::string CliZeroLagText() { return ZeroLagText(); }

std::string CliBadLagText(const std::string& lag) {
    return Localised("Décalage invalide " + Quoted(lag) +
                    " : un nombre de secondes de -300.99 à 300.99, par exemple -1.25.",
                "Invalid lag " + Quoted(lag) +
                    ": a number of seconds from -300.99 to 300.99, for example -1.25.");
}

std::string CliLagNeededText() {
    return Localised("Le format 38 demande le décalage du son : --delay DECALAGE.",
                "Format 38 needs the sound's lag: --delay LAG.");
}

std::string CliBadTimeText(const std::string& time) {
    return Localised("Position invalide " + Quoted(time) + " : HH:MM:SS attendu.",
                "Invalid position " + Quoted(time) + ": HH:MM:SS expected.");
}

std::string CliTimesNeededText() {
    return Localised("Le format 39 demande les positions : --from HH:MM:SS --to HH:MM:SS.",
                "Format 39 needs the positions: --from HH:MM:SS --to HH:MM:SS.");
}

std::string CliEndBeforeStartText() {
    return Localised("La position finale doit être plus avancée dans le temps que la position de "
                "départ, merci de corriger vos positions.",
                "The end position must be greater then the starting position, please correct "
                "the indicated positions.");
}

std::string CliBadOptionText(const std::string& option) {
    return Localised("Option incorrecte ou incomplète : " + option + " (voir --help).",
                "Wrong or incomplete option: " + option + " (see --help).");
}

std::string CliBadJobsText(const std::string& jobs) {
    return Localised("Nombre d'éléments à la fois invalide " + Quoted(jobs) + " : un nombre de 1 à 9999.",
                "Invalid number of items at once " + Quoted(jobs) + ": a number from 1 to 9999.");
}

std::string CliBadShardText(const std::string& shard) {
    return Localised("Part de liste invalide " + Quoted(shard) +
                    " : K/N attendu, K et N entiers, K compté à partir de 1 et au plus N (ex. 1/4).",
                "Invalid shard " + Quoted(shard) +
                    ": K/N expected, whole numbers, K counting from 1 and at most N (e.g. 1/4).");
}

std::string CliBadProgressText(const std::string& form) {
    return Localised("Forme de progression invalide " + Quoted(form) + " : auto, plain ou json.",
                     "Invalid progress form " + Quoted(form) + ": auto, plain or json.");
}

std::string CliNoStandardStreamText() {
    return Localised("\"-\" (entrée ou sortie standard) n'est pas accepté : les outils lisent et écrivent des "
                     "fichiers où ils se déplacent ; donnez le nom d'un fichier.",
                     "\"-\" (standard input or output) is not accepted: the tools read and write files they "
                     "seek in; give a file name.");
}

std::string CliStdoutFailedText(const std::string& reason) {
    return Localised("Impossible d'écrire sur la sortie standard : " + reason + ".",
                     "Standard output cannot be written: " + reason + ".");
}

std::string CliEmptyShardText(int index, int count) {
    const std::string shard = std::to_string(index) + "/" + std::to_string(count);
    return Localised("La part " + shard + " de la liste ne contient aucun élément.",
                "Shard " + shard + " of the list holds no item.");
}

std::string CliJobsCappedText(int asked, int allowed) {
    return Localised(std::to_string(asked) + " éléments à la fois demandés, " + std::to_string(allowed) +
                    " seulement pour rester dans la mémoire libre.",
                std::to_string(asked) + " items at once asked for, only " + std::to_string(allowed) +
                    " to stay within the free memory.");
}

std::string CliListProgressText(int done, int total, int running, int failed) {
    std::string text = Localised("Liste : " + std::to_string(done) + " sur " + std::to_string(total) +
                                     " terminé(s), " + std::to_string(running) + " en cours",
                                 "List: " + std::to_string(done) + " of " + std::to_string(total) + " done, " +
                                     std::to_string(running) + " running");
    if (failed > 0) text += Localised(", " + std::to_string(failed) + " en échec", ", " + std::to_string(failed) + " failed");
    return text;
}

std::string CliListFileText(const std::string& path) {
    return Localised("Impossible de lire la liste " + Quoted(path) + ".",
                "The list " + Quoted(path) + " cannot be read.");
}

std::string CliListNotRegularText(const std::string& path) {
    return Localised("La liste " + Quoted(path) + " n'est pas un fichier ordinaire.",
                     "The list " + Quoted(path) + " is not a regular file.");
}

std::string CliListTooLargeText(const std::string& path, long long megabytes) {
    return Localised("La liste " + Quoted(path) + " dépasse " + std::to_string(megabytes) + " Mo.",
                     "The list " + Quoted(path) + " is larger than " + std::to_string(megabytes) + " MB.");
}

std::string CliListLineText(const std::string& path, int line) {
    return Localised("Liste " + Quoted(path) + ", ligne " + std::to_string(line) +
                    " : format, entrée et sortie séparés par des tabulations attendus.",
                "List " + Quoted(path) + ", line " + std::to_string(line) +
                    ": format, input and output separated by tabs expected.");
}

std::string CliNothingToDoText() {
    return Localised("Rien à convertir (voir --help).", "Nothing to convert (see --help).");
}

std::string CliStoppedText() {
    return Localised("Conversion arrêtée.", "Conversion stopped.");
}

std::string CliNotStartedText() {
    return Localised("La conversion n'a pas commencé.", "The conversion did not begin.");
}

std::string CliReplaceQuestionText(const std::string& path) {
    // The window's own question, with the file it is about and the answers.
    return ReplaceOutputText() + " (" + path + ") " + Localised("[o/N]", "[y/N]");
}

std::string CliExistingOutputRefusedText(const std::string& path) {
    return Localised("Le fichier de sortie " + Quoted(path) +
                         " existe déjà : il n'est pas remplacé sans -y (--overwrite) ; -n (--no-overwrite) "
                         "le garde tel quel.",
                     "The output file " + Quoted(path) +
                         " already exists: it is not replaced without -y (--overwrite); -n (--no-overwrite) "
                         "keeps it as it is.");
}

std::string CliKeptOutputText(const std::string& path) {
    return Localised("Le fichier de sortie " + Quoted(path) + " existe déjà : il est gardé tel quel.",
                     "The output file " + Quoted(path) + " already exists: it is kept as it is.");
}

std::string CliBothOverwriteOptionsText() {
    return Localised("-y (--overwrite) et -n (--no-overwrite) s'excluent (voir --help).",
                     "-y (--overwrite) and -n (--no-overwrite) exclude each other (see --help).");
}

std::string CliSummaryText(int written, int total) {
    return Localised(std::to_string(written) + " fichier(s) écrit(s) sur " + std::to_string(total) + ".",
                std::to_string(written) + " of " + std::to_string(total) + " file(s) written.");
}

std::string CliItemLine(const std::string& counter, const std::string& input,
                        const std::string& output) {
    return counter + (counter.empty() ? "" : " ") + input + " -> " + output;
}

}  // namespace transcoda::cli
