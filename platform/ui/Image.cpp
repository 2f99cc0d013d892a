#include "platform/ui/Image.h"

#include <unordered_map>

#include "platform/core/Bundle.h"
#include "platform/core/Installed.h"

namespace platform {
namespace {

using ImageCache = std::unordered_map<std::string, ImageRef>;

// Emptied with the installed services: a new main bundle has other pictures.
Installed<ImageCache>& cache() {
    static Installed<ImageCache> images;
    return images;
}

}  // namespace

ImageRef imageNamed(const std::string& name) {
    return cache().with([&name](ImageCache& images) {
        if (auto it = images.find(name); it != images.end()) return it->second;
        ImageRef image;
        if (!name.empty()) {
            if (auto path = Bundle::mainBundle()->pathForResource(name, "")) {
                image = std::make_shared<const Image>(Image{name, *path});
            }
        }
        images.emplace(name, image);
        return image;
    });
}

void clearImageCache() { cache().reset(); }

}  // namespace platform
