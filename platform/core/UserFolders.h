#pragma once
// The folders the program keeps its files in: "pallqa-tuner" under the
// desktop's base folders for configuration ($XDG_CONFIG_HOME, ~/.config when
// unset) and for state ($XDG_STATE_HOME, ~/.local/state), the home folder
// being $HOME or, when that is unset, the user's entry in the password
// database. There is no shared fallback: without a home, there is no folder.
//
// A folder of ours is used only when it is the user's own, as the desktop's
// rules ask of the runtime folder: owned by the user, not writable by anyone
// else, reached through no link planted in a folder that is not the user's
// own. Otherwise the files stay unwritten and the caller says why.

#include <filesystem>
#include <optional>
#include <string>

namespace platform {

struct UserFolder {
    // The folder, made when it was missing; none when there is none to use.
    std::optional<std::filesystem::path> path;
    // Why there is none, in a few words ("no home folder: ...").
    std::string problem;
};

// $HOME, or the password database's home of the user when HOME is unset or empty.
std::optional<std::filesystem::path> homeFolder();

// The program's folders under the configuration and the state base folders.
UserFolder configFolder();
UserFolder stateFolder();

// `folder`, made (mode 0700) when missing, when it is the user's own.
UserFolder ownFolder(const std::filesystem::path& folder);

}  // namespace platform
