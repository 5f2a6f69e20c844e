#pragma once
// An existing output is replaced only by a complete one. The recipe writes under a
// hidden temporary name beside the output (same folder, same extension), noted in the
// instance's work folder while it exists; once the result has been checked it takes the
// output's place in one rename. Whatever ends the request otherwise, the temporary file
// goes and the old output stays as it was.
//
// A DVD is authored into a hidden folder beside "DVD-Disc1"; on success its VIDEO_TS
// and AUDIO_TS take the place of those of "DVD-Disc1", whose other files stay.

#include <string>

namespace transcoda {

class OutputReplacement {
public:
    // `output`: the request's output file, or for a DVD the folder that holds
    // "DVD-Disc1" (with or without its final "/"). An output that is a link to a file
    // is replaced where the link points.
    OutputReplacement(const std::string& output, bool dvd);
    ~OutputReplacement();
    OutputReplacement(const OutputReplacement&) = delete;
    OutputReplacement& operator=(const OutputReplacement&) = delete;

    // Where the recipe writes: the temporary file, or for a DVD the temporary folder
    // (ending with "/") in which the recipe makes its own "DVD-Disc1".
    const std::string& WritePath() const { return temp_; }

    // Puts the result in the output's place (keeping the old file's permissions). Empty
    // when done; otherwise why not (user text), and the old output is as it was.
    std::string Commit();

private:
    std::string CommitFile();
    std::string CommitDvd();

    std::string final_;
    std::string temp_;
    bool dvd_;
    bool done_ = false;
};

}  // namespace transcoda
