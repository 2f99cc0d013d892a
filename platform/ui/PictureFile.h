#pragma once
// Pictures drawn with code and written to a file — SVG or PNG, by the file's
// extension — such as a command's plot of a recording. Points are measured
// from the top-left corner; a PNG has one pixel per point. What writes the
// files is installed: the desktop installs one; until then nothing is written
// and the maker says so.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/Geometry.h"

namespace platform {

// Each part from 0.0 to 1.0.
struct PictureColor {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    double alpha = 1.0;
};

enum class TextAlignment { Left, Center, Right };

class PictureFile {
public:
    virtual ~PictureFile() = default;
    virtual void fillRectangle(const Rect& rect, PictureColor color) = 0;
    virtual void strokeLine(double x1, double y1, double x2, double y2, PictureColor color, double width) = 0;
    virtual void fillCircle(double x, double y, double radius, PictureColor color) = 0;
    // `size` in points; (x, y) is where the baseline starts, has its middle or
    // ends, by `alignment`.
    virtual void drawText(double x, double y, std::string_view text, double size, PictureColor color,
                          TextAlignment alignment) = 0;
    // Writes the picture to its file; false with `error` saying why.
    virtual bool save(std::string& error) = 0;
};

// Makes a blank picture of `width` × `height` points to be written to `file`;
// null with `error` saying why (an extension it cannot write, say).
using PictureFileMaker = std::function<std::unique_ptr<PictureFile>(const std::filesystem::path& file, double width,
                                                                    double height, std::string& error)>;

// A picture from the installed maker.
std::unique_ptr<PictureFile> makePictureFile(const std::filesystem::path& file, double width, double height,
                                             std::string& error);

// Chooses the maker; null means none.
void setPictureFileMaker(PictureFileMaker maker);

}  // namespace platform
