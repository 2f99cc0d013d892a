// The picture module's entry point (cmake/Modules.cmake): the only name the
// program looks up in it.
#include "platform/ui/cairo/CairoPictureFile.h"

extern "C" platform::PictureFile* pallqaMakeCairoPictureFile(const std::filesystem::path& file, double width,
                                                             double height, std::string& error) {
    return platform::ui::cairo::makeCairoPictureFile(file, width, height, error).release();
}
