#pragma once

#include <string>

#include "exec/app_state.h"
#include "exec/conversion_session.h"

namespace transcoda {

// What became of one request.
struct DispatchOutcome {
    enum class Result {
        Written,      // the output was written, checked and put in place
        Refused,      // unsupported extension or label (the dispatcher said so itself)
        NothingToDo,  // a special preset without its lag or segment
        Stopped,      // the session was stopped
        Failed,       // see Reason
    };
    Result Outcome = Result::Refused;
    // For Failed: why, as the end of a sentence that begins "La conversion de X a
    // échoué" / "The conversion of X failed" (the step and its file, or what made the
    // request impossible before it began), in the current language.
    std::string Reason;
    // For Failed: the failing tool's last lines, one per line; empty when no tool
    // failed (or it said nothing).
    std::string Details;
    // For Refused: the message for the user, shown once the conversion has ended.
    std::string Message = {};
};

// Runs the recipe of the request's preset: refuses an input whose extension is not
// accepted or a label outside the catalogue (with a message for the user); refuses before any
// step an output that may not be written, and an input that cannot give a true result
// (unreadable, sound only into a picture preset, no sound into a sound preset, a segment
// past its end), and an input that is not a regular file. Otherwise runs the preset's
// steps for the input's class, writing under a temporary name beside the output, stops at
// the first step that fails or finds its file wrong, deletes the intermediates, and puts
// the output in place only when every step went well and the input is still the file it
// was when the request began (else the request fails: the input changed). A step that
// filled its disk is told with the output's folder. Lets FolderCreationError through when an output folder cannot be
// created. The request is timed for the time estimate from its checks to its end.
DispatchOutcome DispatchConversion(ConversionSession& session, const ConversionRequest& request);

}  // namespace transcoda
