#pragma once
// The user's own folders, as the XDG base directory rules name them. Each result ends
// with "/", and is empty when the folder cannot be named (no home at all). A relative
// value of an XDG variable is ignored, as those rules ask.

#include <string>

namespace transcoda {

// $XDG_CONFIG_HOME, else <home>/.config.
std::string UserConfigFolder();
// The folder of the program's preferences file: <config folder>/transcoda/.
std::string PreferencesFolder();
// $XDG_CACHE_HOME, else <home>/.cache.
std::string UserCacheFolder();
// $XDG_RUNTIME_DIR; empty when it is not set.
std::string UserRuntimeFolder();
// The user's videos folder: XDG_VIDEOS_DIR of <config folder>/user-dirs.dirs ("$HOME/..."
// or an absolute path), else the home folder; empty without a home.
std::string UserVideosFolder();

// True when `path` is a real folder (not a symbolic link) owned by this user.
bool IsOwnFolder(const std::string& path);

// Creates `path` (and its parents) as a folder only this user may enter, unless it
// exists. True when it is now IsOwnFolder, so that nothing of ours is ever written
// where someone else could swap it.
bool MakePrivateFolder(const std::string& path);

}  // namespace transcoda
