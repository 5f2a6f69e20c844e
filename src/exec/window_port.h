#pragma once
// The narrow interface of the window that the conversions report to. A front end
// implements it. The worker and the output reader only log and select the list's row
// through it, and a desktop window queues those without making them wait; the rest (the
// progress display the window takes from the session, the worker's ending) is called on
// the window's own thread, where every call is carried out directly.

#include <optional>
#include <string>

namespace transcoda {

// One change of the progress part of the window: only the fields that are set change.
struct DisplayChange {
    std::optional<std::string> StatusText = {};    // statusLabel: "Conversion...", "Prêt" ...
    std::optional<std::string> ProgressText = {};  // progressLabel: "Progression : 12.35% (2/3)"
    std::optional<std::string> Title = {};         // the program's title in the desktop's task bar
    std::optional<int> BarMaximum = {};            // progressBar
    std::optional<int> BarPosition = {};           // within 0..BarMaximum
    // The time label beside the progress texts: "écoulé 0 min 40 s — reste 1 min 20 s",
    // empty between requests.
    std::optional<std::string> TimeText = {};

    bool Empty() const { return !StatusText && !ProgressText && !Title && !BarMaximum && !BarPosition && !TimeText; }
    bool operator==(const DisplayChange&) const = default;
};

class WindowPort {
public:
    virtual ~WindowPort() = default;

    // Shows one change of the progress display, all of it in one call. The core keeps
    // what the display shows (exec/progress_display.h) and sends only what changes; the
    // window never reports it back.
    virtual void ShowDisplay(const DisplayChange& change) = 0;
    // convertCaption: the caption under the convert picture.
    virtual void SetActionText(const std::string& text) = 0;

    // A modal message box with one OK button, captioned with the application title;
    // returns when it has been closed.
    virtual void ShowMessage(const std::string& text) = 0;
    // The same for a failure, with the failing tool's last lines (one per line) for the
    // user to read on demand; without them it is a plain message.
    virtual void ShowFailure(const std::string& text, const std::string& details) {
        (void)details;
        ShowMessage(text);
    }
    // Whether the details of ShowFailure wait behind a button (a desktop box) rather than
    // follow the text (a terminal): a message may then keep its text short.
    virtual bool DetailsOnDemand() const { return false; }
    // A conversion has written its output: `text` names it, and `folder` holds it, for a
    // front end that offers to open it. Nothing by default.
    virtual void ShowWrittenNotice(const std::string& text, const std::string& folder) {
        (void)text;
        (void)folder;
    }

    // One whole line appended to the diagnostic log, unchanged (callers have already
    // tested DebugMode and built any stamp).
    virtual void AppendLog(const std::string& line) = 0;
    // "** "/">> " + short date + " à " + long time, in the user's regional formats.
    virtual std::string LogStamp(const std::string& marker) = 0;

    // End of work: the convert picture back in convertStopPicture, convertCaption
    // "Convertir un fichier" / "Convert the file", and the buttons enabled again (for a
    // list, convertQueue captioned "Convertir la liste" / "Convert the list"). Returns
    // false when the picture could not be loaded.
    virtual bool RestoreConvertButton(bool forList) = 0;
};

}  // namespace transcoda
