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
QString ConvertCaption();                  // convertCaption when idle
inline constexpr const char* kStopCaption = "           Stop";
inline constexpr const char* kListConvertCaptionFr = "Convertir la liste";
inline constexpr const char* kListStopCaption = "Stop conversion de la liste";
QString ReadyText();

// Asked when the window is closed while a conversion runs.
QString MsgStopAndQuit();

// Caption of every question box, in both languages.
inline constexpr const char* kQuestionCaption = "Confirmation";

}  // namespace transcoda::gui
