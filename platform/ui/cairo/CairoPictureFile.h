#pragma once
// Pictures written with cairo: an SVG for a file ending in ".svg", a PNG for
// one ending in ".png" (either case); any other file is refused. The maker to
// install with platform::setPictureFileMaker, which the desktop set-up loads
// as a module of the program, so that only a run that draws loads cairo.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/ui/PictureFile.h"

namespace platform::ui::cairo {

std::unique_ptr<PictureFile> makeCairoPictureFile(const std::filesystem::path& file, double width, double height,
                                                  std::string& error);

// The picture module's entry point, by the name the desktop set-up looks up
// when it loads the module: what makeCairoPictureFile answers, handed over.
extern "C" PictureFile* pallqaMakeCairoPictureFile(const std::filesystem::path& file, double width, double height,
                                                   std::string& error);
inline constexpr char kMakeCairoPictureFileEntry[] = "pallqaMakeCairoPictureFile";

}  // namespace platform::ui::cairo
