#pragma once
// The narrow interface through which the conversion worker and the pipe reader change
// the window. A front end implements it; every call is carried out on the window thread
// while the calling thread waits, and the window thread never waits for the caller.
// Calls made on the window thread itself are carried out directly.

#include <string>

namespace transcoda {

class WindowPort {
public:
    virtual ~WindowPort() = default;

    // Label11: the status ("Conversion...", "Prêt" ...).
    virtual void SetStatusText(const std::string& text) = 0;
    // Label10: the progress text ("Progression : 12.35% (2/3)").
    virtual void SetProgressText(const std::string& text) = 0;
    virtual std::string ProgressText() = 0;
    // Label6: the caption under the convert picture.
    virtual void SetActionText(const std::string& text) = 0;
    // The program's title as the desktop shows it in its task bar.
    virtual void SetApplicationTitle(const std::string& text) = 0;

    // ProgressBar1.
    virtual void SetBarMaximum(int maximum) = 0;
    virtual void SetBarPosition(int position) = 0;
    virtual int BarPosition() = 0;
    virtual int BarMaximum() = 0;

    // A modal message box with one OK button, captioned with the application title;
    // returns when it has been closed.
    virtual void ShowMessage(const std::string& text) = 0;

    // One whole line appended to the diagnostic log, unchanged (callers have already
    // tested DebugMode and built any stamp).
    virtual void AppendLog(const std::string& line) = 0;
    // "** "/">> " + short date + " à " + long time, in the user's regional formats.
    virtual std::string LogStamp(const std::string& marker) = 0;

    // StringGrid1: RowCount (header row and a last empty row included), a cell, and
    // the highlighted row.
    virtual int ListRowCount() = 0;
    virtual std::string ListCell(int column, int row) = 0;
    virtual void SelectListRow(int row) = 0;

    // End of work: the convert picture back in Image4, Label6 "Convertir un fichier" /
    // "Convert the file", and the buttons enabled again (for a list, Button10 captioned
    // "Convertir la liste" / "Convert the list"). Returns false when the picture could
    // not be loaded.
    virtual bool RestoreConvertButton(bool forList) = 0;
};

}  // namespace transcoda
