#pragma once
// Where the running program lives. A program finds what belongs to it beside
// itself (links in the build tree) or under its own prefix once installed —
// never by the path of the tree it was built from.

#include <filesystem>

namespace platform {

// The folder of the running program's executable; empty when it cannot be read.
std::filesystem::path programFolder();

}  // namespace platform
