#pragma once
// Outputs being written under a temporary name beside their final name. Each one is
// noted in the instance's work folder while it is written, so that the files of an
// instance that died can still be removed by the next instance that starts.

#include <cstddef>
#include <string>

namespace transcoda {

// The hidden temporary name for a file or folder named `name` (no folder part): a
// leading ".", the name's stem, ".transcoda-" and six random letters or digits, then
// the name's extension, so that the tools still choose the container by it:
// "clip.avi" -> ".clip.transcoda-k3j9x2.avi". The stem is shortened as needed to keep
// the name within kMaxNameBytes.
std::string TemporaryOutputName(const std::string& name);

// The longest name (one path component) the file systems take, in bytes (NAME_MAX).
inline constexpr size_t kMaxNameBytes = 255;

// `text` shortened to at most `bytes` bytes, cut before the first byte of a UTF-8
// character, so that a name made to fit never ends in half a character.
inline std::string CutToBytes(const std::string& text, size_t bytes) {
    if (text.size() <= bytes) return text;
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
    return text.substr(0, bytes);
}

// True when the last component of `path` (a final "/" ignored) has the form above.
bool IsTemporaryOutputName(const std::string& path);

// Notes `path` as being written by this instance, and forgets it once it is renamed
// into place or removed. Nothing is noted while App().WorkFolder is empty.
void NotePendingOutput(const std::string& path);
void ForgetPendingOutput(const std::string& path);

// Removes the temporary outputs noted in the work folder of an instance that is gone
// (a file, or a DVD folder with its contents), then the note itself. Only paths whose
// name has the temporary form are touched.
void SweepPendingOutputs(const std::string& deadWorkFolder);

}  // namespace transcoda
