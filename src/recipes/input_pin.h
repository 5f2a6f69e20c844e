#pragma once
// The input of a request is pinned for the whole request: its identity (device, inode,
// size, modification and change times) is noted when the request starts, and before
// each step and before the result is put in place it must still be the same, unchanged
// file. A file renamed over the input, rewritten, grown or removed meanwhile fails the
// request, so that no output ever mixes two inputs.

#include <optional>
#include <string>

#include "exec/probe_cache.h"

namespace transcoda {

class InputPin {
public:
    // Notes the identity of `input` as it is now (none for a missing file).
    explicit InputPin(std::string input);

    // True while `input` is the file noted at the start, unchanged.
    bool Unchanged() const;

private:
    std::string input_;
    std::optional<FileIdentity> noted_;
};

// Why a request whose input changed failed, as the end of "The conversion of X failed".
std::string InputChangedText();

// True when `path` names something that exists but is not a regular file (a pipe, a
// socket, a device, a folder), symbolic links followed.
bool ExistsButIsNotRegular(const std::string& path);

// Why such an input is refused: "Le fichier d'entrée ... n'est pas un fichier ordinaire".
std::string NotRegularInputText(const std::string& path);

}  // namespace transcoda
