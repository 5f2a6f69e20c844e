#pragma once
// The main window's texts in French and English, and the file-dialog filters.

#include <QString>

namespace transcoda::gui {

// The French or the English text, by CurrentLanguage.
QString Lang(const char* french, const char* english);

// Filters in the "label|patterns|label|patterns" form, byte for byte as the user sees
// the entries, and their translation into the form a Qt file dialog takes.
QString InputFilter();
QString OutputFilter();
QString QtFilter(const QString& pairs);

QString InputDialogTitle();
QString OutputDialogTitle();

// Captions that change while the program runs.
QString ConvertCaption();                  // Label6 when idle
inline constexpr const char* kStopCaption = "           Stop";
inline constexpr const char* kListConvertCaptionFr = "Convertir la liste";
inline constexpr const char* kListStopCaption = "Stop conversion de la liste";
QString ReadyText();

// Labels of the two operations that need a dialog and cannot be queued.
inline constexpr const char* kSyncLabel = " Correction & Synchronisation video/audio";
inline constexpr const char* kExtractionLabel = " Extraction video/audio";

// Messages.
QString MsgReplaceOutput();
QString MsgMissingInput();
QString MsgFolderNotEmpty(const QString& folder);
// Asked when the window is closed while a conversion runs.
QString MsgStopAndQuit();
QString MsgUnsupportedFormat();
QString MsgZeroLag();
QString MsgOutputInList();
QString MsgNotForList();
// The output names the input file itself, or the DVD to write would hold the input.
QString MsgOutputIsInput();
QString MsgInputInDvdFolder();

// Caption of every question box, in both languages.
inline constexpr const char* kQuestionCaption = "Confirmation";

}  // namespace transcoda::gui
