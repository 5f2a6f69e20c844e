#include "mainwindow/texts.h"

#include <QStringList>

#include "exec/language.h"

namespace transcoda::gui {

QString Lang(const char* french, const char* english) {
    return QString::fromStdString(Localised(french, english));
}

namespace {

const char* const kAllInputPatterns =
    "|*.mts;*.m2t;*.tod;*.mts;*.flv;*.f4v;*.f4p;*.avi;*.div;*.divx;*.wmv;*.asf;*.mpg;*.mpeg;"
    "*.mpe;*.mp2;*.mod;*.mvv;*.m2v;*.m1v;*.wav;*.mp3;*.snd;*.au;*.aif;*.aifc;*.aiff;*.wma;*.mov;"
    "*.qt;*.mp4;*.m4v;*.mkv;*.rm;*.ram;*.rmvb;*.rv;*.ivr;*.ogg;*.ogm;*.ogv;*.vob;*.vro;*.3gpp;"
    "*.3gp;*.3gp2;*.3g2;*.ts;*.m2ts;*.mts;*.m2t;*.tp;*.nsv;*.dat;*.ifo;*.dv;*.flic;*.fli;"
    "*.webm;*.mka;*.m4a;*.aac;*.flac;*.opus;*.oga";

struct Family {
    const char* text;
    const char* patterns;
};

const Family kFamilies[] = {
    {"HDV, AVCHD (*.m2ts,*.m2t,*.tod,*.mts)", "*.m2ts;*.m2t;*.tod;*.mts"},
    {"Flash Video (*.flv, *.f4v, *.f4p)", "*.flv;*.f4v;*.f4p"},
    {"AVI (*.avi, *.div, *.divx)", "*.avi;*.div;*.divx"},
    {"Windows Media Video (*.wmv, *.asf)", "*.wmv;*.asf"},
    {"MPEG (*.mpg, *.mpeg, *.mpe, *.mp2, *.mod, *.mvv, *.m2v, *.m1v)",
     "*.mpg;*.mpeg;*.mpe;*.mp2;*.mod;*.mvv;*.m2v;*.m1v"},
    {"Audio (*.wav, *.mp3, *.snd, *.au, *.aif, *.aifc, *.aiff, *.wma)",
     "*.wav;*.mp3;*.snd;*.au;*.aif;*.aifc;*.aiff;*.wma"},
    {"Quick Time Video (*.mov, *.qt, *.mp4, *.m4v)", "*.mov;*.qt;*.mp4;*.m4v"},
    {"Blu-ray (*.m2ts)", "*.m2ts"},
    {"MKV Video (*.mkv)", "*.mkv"},
    {"Real Media Video (*.rm, *.ram, *.rmvb, *.rv, *.ivr)", "*.rm;*.ram;*.rmvb;*.rv;*.ivr"},
    {"Ogg (*.ogg, *.ogm, *.ogv)", "*.ogg;*.ogm;*.ogv"},
    {"VOB Video (*.vob, *.vro)", "*.vob;*.vro"},
    {"Mobile Video (*.3gpp, *.3gp, *.3gp2, *.3g2)", "*.3gpp;*.3gp;*.3gp2;*.3g2"},
    {"TS Video (*.ts, *.m2ts, *.mts, *.m2t, *.tp)", "*.ts;*.m2ts;*.mts;*.m2t;*.tp"},
    {"NullSoft Video (*.nsv)", "*.nsv"},
    {"Video CD (*.dat)", "*.dat"},
    {"DV Video (*.dv)", "*.dv"},
    {"FLIC (*.flic, *.fli)", "*.flic;*.fli"},
    {"WebM (*.webm)", "*.webm"},
    {"Audio AAC, FLAC, Opus, Vorbis (*.m4a, *.aac, *.flac, *.opus, *.oga, *.mka)",
     "*.m4a;*.aac;*.flac;*.opus;*.oga;*.mka"},
};

}  // namespace

QString InputFilter() {
    QString filter = Lang("Toutes les vidéos", "All video formats") + QString::fromUtf8(kAllInputPatterns);
    for (const Family& f : kFamilies)
        filter += "|" + QString::fromUtf8(f.text) + "|" + QString::fromUtf8(f.patterns);
    // Last, every file: one whose name says nothing of its content can still be picked.
    return filter + "|" + Lang("Tous les fichiers", "All files") + "|*";
}

QString OutputFilter() { return Lang("Tous les formats vidéo|*.*", "All video formats|*.*"); }

QString QtFilter(const QString& pairs) {
    // A Qt dialog reads the patterns from the last parenthesised group of each entry,
    // separated by blanks; the entry's own text is kept in front of it unchanged.
    const QStringList parts = pairs.split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        patterns.removeDuplicates();
        entries << parts[i] + " (" + patterns.join(' ') + ")";
    }
    return entries.join(";;");
}

QString InputDialogTitle() { return Lang("Choisir le fichier d'entrée", "Select the input file"); }
QString OutputDialogTitle() { return Lang("Choisir le fichier de sortie", "Select the output file"); }

QString ConvertCaption() { return Lang("Convertir un fichier", "Convert the file"); }
QString ReadyText() { return Lang("Prêt", "Ready"); }

QString MsgStopAndQuit() {
    return Lang("Une conversion est en cours, voulez vous l'arrêter et quitter?",
                "A conversion is in progress, do you want to stop it and quit?");
}

}  // namespace transcoda::gui
