#pragma once
// The two DVD recipes: encode to a DVD program stream, author the title, write the
// table of contents, then delete the stream. Everything lands in output + "DVD-Disc1".

#include <string>

namespace transcoda {

// Before an encoding: deletes a stale stream; when "DVD-Disc1" exists removes its
// AUDIO_TS and VIDEO_TS folders (other files stay), otherwise creates it with its
// parents. Throws FolderCreationError when it cannot be created.
void PrepareDvdFolder(const std::string& output);

// The NTSC recipe (Windows Media inputs are encoded by the other ffmpeg-style tool)
// and the PAL recipe. `output` is the DVD output folder; one without its final "/"
// is taken as that folder.
void RunDvdNtscRecipe(const std::string& input, const std::string& output);
void RunDvdPalRecipe(const std::string& input, const std::string& output);

}  // namespace transcoda
