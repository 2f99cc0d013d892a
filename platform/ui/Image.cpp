#include "platform/ui/Image.h"

#include <mutex>
#include <unordered_map>

#include "platform/core/Bundle.h"

namespace platform {
namespace {

struct ImageCache {
    std::mutex mutex;
    std::unordered_map<std::string, ImageRef> images;
};

ImageCache& cache() {
    static ImageCache instance;
    return instance;
}

}  // namespace

ImageRef imageNamed(const std::string& name) {
    auto& c = cache();
    std::lock_guard lock(c.mutex);
    if (auto it = c.images.find(name); it != c.images.end()) return it->second;
    ImageRef image;
    if (!name.empty()) {
        if (auto path = Bundle::mainBundle().pathForResource(name, "")) {
            image = std::make_shared<const Image>(Image{name, *path});
        }
    }
    c.images.emplace(name, image);
    return image;
}

void clearImageCache() {
    auto& c = cache();
    std::lock_guard lock(c.mutex);
    c.images.clear();
}

}  // namespace platform
