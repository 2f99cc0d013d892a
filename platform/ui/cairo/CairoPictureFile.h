#pragma once
// Pictures written with cairo: an SVG for a file ending in ".svg", a PNG for
// one ending in ".png" (either case); any other file is refused. The maker to
// install with platform::setPictureFileMaker.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/ui/PictureFile.h"

namespace platform::ui::cairo {

std::unique_ptr<PictureFile> makeCairoPictureFile(const std::filesystem::path& file, double width, double height,
                                                  std::string& error);

}  // namespace platform::ui::cairo
