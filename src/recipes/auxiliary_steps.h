#pragma once
// The tool runs that some recipes put around their main step, chained through
// intermediates in the intermediate folder named after TempBaseName. None of them
// probes the duration: the progress display works from what the last probe left. Each
// returns what became of its run and the file it writes.

#include <string>

#include "exec/conversion_session.h"

#include "recipes/step_outcome.h"

namespace transcoda {

// Writes the input's sound to IntermediateFolder + TempBaseName + ".mp3" (codes "720p",
// "1080p") or ".wma" (code "hdToAudioTraitable"). The MP3 is deleted beforehand
// whatever the code.
StepOutcome ExtractAudioTrack(ConversionSession& session, const std::string& code, const std::string& input);

// Re-encodes the input, sound included, to an AVI of frame size `size` at
// `intermediate`, the picture at a fixed fine quality.
StepOutcome PrepareIntermediate(ConversionSession& session, const std::string& size, const std::string& input,
                                const std::string& intermediate);

// Joins the TempBaseName picture (".avi") and MP3 sound into `output`, then deletes both.
StepOutcome MuxFinal(ConversionSession& session, const std::string& output);

// Joins the TempBaseName picture (".avi") and WMA sound into `target`.
StepOutcome MuxIntermediate(ConversionSession& session, const std::string& target);

// The command lines the four steps run, for the intermediates' stem `tempStem` (the
// intermediate folder and the session's TempBaseName: TempStem); ExtractAudioTrackCommandLine
// gives an empty text for any other code.
std::string ExtractAudioTrackCommandLine(const std::string& code, const std::string& input,
                                         const std::string& tempStem);
std::string PrepareIntermediateCommandLine(const std::string& size, const std::string& input,
                                           const std::string& intermediate);
std::string MuxFinalCommandLine(const std::string& output, const std::string& tempStem);
std::string MuxIntermediateCommandLine(const std::string& target, const std::string& tempStem);

}  // namespace transcoda
