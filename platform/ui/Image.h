#pragma once
// Named pictures: each resource is looked up once and kept for the process.
// The plain side never decodes a picture; a frontend decodes it from `path`.

#include <filesystem>
#include <memory>
#include <string>

namespace platform {

struct Image {
    std::string name;             // the resource name, e.g. "green64.png"
    std::filesystem::path path;   // the file in the resources folder
};

using ImageRef = std::shared_ptr<const Image>;

// The picture of the main bundle's resource `name` (with its extension), or
// none when the resource does not exist. Cached by name, misses included, so
// repeated calls touch no file.
ImageRef imageNamed(const std::string& name);
// Forgets every cached picture (tests that swap the main bundle).
void clearImageCache();

}  // namespace platform
