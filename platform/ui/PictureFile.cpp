#include "platform/ui/PictureFile.h"

#include "platform/core/Installed.h"

namespace platform {
namespace {

Installed<PictureFileMaker>& makerSlot() {
    static Installed<PictureFileMaker> maker;
    return maker;
}

}  // namespace

std::unique_ptr<PictureFile> makePictureFile(const std::filesystem::path& file, double width, double height,
                                             std::string& error) {
    const PictureFileMaker maker = makerSlot().get();
    if (!maker) {
        error = "pictures cannot be written here";
        return nullptr;
    }
    return maker(file, width, height, error);
}

void setPictureFileMaker(PictureFileMaker maker) { makerSlot().install(std::move(maker)); }

}  // namespace platform
