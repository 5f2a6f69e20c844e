#pragma once
// Several files dropped on the conversion list: each joins it with the selected preset,
// its output beside its input, after the checks of an addition. Nothing is asked: a file
// whose output would need a question (it exists, or its DVD folder is not empty), or that
// a check refuses, is left out, and one message tells which files were left out and why.

#include <functional>
#include <string>
#include <vector>

#include "exec/app_state.h"

namespace transcoda {

struct LeftOutFile {
    std::string Input;
    std::string Reason;
};

struct DroppedFiles {
    // Not empty when none of the files may join (a special preset, or none selected):
    // the one message to show.
    std::string Refusal;
    // The rows to add, in the order the files came.
    std::vector<ConversionRequest> Rows;
    std::vector<LeftOutFile> LeftOut;
};

// `queued(output)` tells whether a row of the list already writes output; the rows
// accepted from the same drop count too.
DroppedFiles CheckDroppedFiles(const std::string& label, const std::vector<std::string>& inputs,
                               const std::function<bool(const std::string&)>& queued);

// The one message after a drop that left files out.
std::string LeftOutFilesText(size_t added, const std::vector<LeftOutFile>& leftOut);

}  // namespace transcoda
