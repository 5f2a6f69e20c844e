#pragma once
// The checks and questions before one conversion starts or a request joins the list: a
// known preset, an existing input, an output that neither destroys the input nor is one
// that may never be replaced, the replace question for an existing file, the question
// for a DVD folder that is not empty, and the dialog of each special preset. The boxes
// and dialogs are asked through RequestAsker, which the window implements; everything
// here runs on the window's thread, before any worker exists for the request.

#include <string>
#include <vector>

#include "conversion/item_status.h"
#include "exec/app_state.h"

namespace transcoda {

// The segment the extraction dialog leaves; kNoExtractionValue for a bound not given.
struct ExtractionSegment {
    std::string Start = kNoExtractionValue;
    std::string Length = kNoExtractionValue;
};

// What the checks ask of the person at the window.
class RequestAsker {
public:
    virtual ~RequestAsker() = default;
    // A message box with one OK button.
    virtual void Tell(const std::string& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool Ask(const std::string& text) = 0;
    // The sync dialog for `input`, modal: the lag it leaves, kNoSyncDelay when it was
    // left without one.
    virtual std::string AskSyncDelay(const std::string& input) = 0;
    // The extraction dialog for `input`, modal: the segment it leaves.
    virtual ExtractionSegment AskSegment(const std::string& input) = 0;
};

// An input that can be converted: the path names an existing regular file.
bool InputFileExists(const std::string& path);

// True when a DVD may be written into `folder` without a question: the folder does not
// exist, or is an empty folder. False for a folder with anything in it, for a path that
// names a file, and for a folder that cannot be listed.
bool FolderIsUsable(const std::string& folder);

// The paths of a request, with the questions they need; true when the request may go on.
// The input must exist; the output must not destroy it nor be one that may never be
// replaced; an existing output file is replaced only when the user says Yes (and only
// once the conversion has written a complete new one); a DVD folder that is not empty
// is used only when the user says Yes.
bool CheckConversionPaths(const std::string& input, const std::string& output, const std::string& label,
                          RequestAsker& asker);

enum class SingleVerdict {
    Start,    // every check passed and the special preset's dialog gave its values
    Refused,  // a check or a dialog refused; what had to be said is said
    ZeroLag,  // the sync dialog gave a lag of zero: refused, and ZeroLagText is told
              // once the window is idle again
};

// Everything before a single conversion of `request` starts: a known preset, the paths,
// and for a special preset its dialog, whose values go into the request's Special.
SingleVerdict CheckSingleRequest(ConversionRequest& request, RequestAsker& asker);

// A special preset may not join the list: false, after telling so.
bool MayJoinList(const std::string& label, RequestAsker& asker);

// Before `request` joins the list (its output already named as its preset writes it):
// refused when `outputQueued` (another row writes that output), else the path checks.
bool CheckListAddition(const ConversionRequest& request, bool outputQueued, RequestAsker& asker);

// Before the list runs again, given the state of each row in order: the rows to leave as
// they are. A row already done is converted again, replacing the file it wrote, only
// when the user says Yes to the one question asked for all of them; No leaves them out.
// Without a done row nothing is asked and nothing is left out.
std::vector<bool> RowsLeftAsDone(const std::vector<ItemStatus::State>& states, RequestAsker& asker);

}  // namespace transcoda
