#pragma once
// The error that ends a recipe when the folder of its output cannot be created.
// what() is the text shown to the user (the same in both languages).

#include <stdexcept>
#include <string>
#include <utility>

namespace transcoda {

inline constexpr const char* kOutputFolderErrorText =
    "Impossible de créer le répertoire associé au fichier de sortie";
inline constexpr const char* kDvdFolderErrorText = "Impossible de créer le répertoire associé au DVD";

class FolderCreationError : public std::runtime_error {
public:
    // `text` is kOutputFolderErrorText or kDvdFolderErrorText; `folder` the folder
    // that could not be created, kept for the diagnostic log.
    FolderCreationError(const std::string& text, std::string folder)
        : std::runtime_error(text), folder_(std::move(folder)) {}

    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

}  // namespace transcoda
