#pragma once
// The two DVD recipes: encode to a DVD program stream, author the title, write the
// table of contents, then delete the stream. Everything lands in output + "DVD-Disc1".

#include <string>
#include <vector>

#include "recipes/step_chain.h"

namespace transcoda {

// Before an encoding: deletes a stale stream; when "DVD-Disc1" exists removes its
// AUDIO_TS and VIDEO_TS folders (other files stay), otherwise creates it with its
// parents. Throws FolderCreationError when it cannot be created.
void PrepareDvdFolder(const std::string& output);

// Makes sure that the request's own "DVD-Disc1" exists (with its parents) before
// anything is encoded, so that the finished title can be put in it. Throws
// FolderCreationError when it cannot be created. Unless kept, the folders it made are
// removed when it goes, deepest first, as long as they are empty: a failed or stopped
// DVD leaves no empty folder behind, and a folder that existed before, or that holds
// anything, stays.
class DvdTarget {
public:
    explicit DvdTarget(const std::string& output);
    ~DvdTarget();
    DvdTarget(const DvdTarget&) = delete;
    DvdTarget& operator=(const DvdTarget&) = delete;

    // The title is in place: the folders stay.
    void Keep() { made_.clear(); }

private:
    std::vector<std::string> made_;  // deepest first
};

// The NTSC recipe (Windows Media inputs are encoded by the other ffmpeg-style tool)
// and the PAL recipe, run through `chain`. `output` is the folder the recipe writes
// its "DVD-Disc1" into; one without its final "/" is taken as that folder.
void RunDvdNtscRecipe(ConversionSession& session, const std::string& input, const std::string& output, StepChain& chain);
void RunDvdPalRecipe(ConversionSession& session, const std::string& input, const std::string& output, StepChain& chain);

// The folder path with its final "/".
std::string AsDvdOutputFolder(const std::string& output);

}  // namespace transcoda
