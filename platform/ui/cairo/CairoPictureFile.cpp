#include "platform/ui/cairo/CairoPictureFile.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <string>

namespace platform::ui::cairo {
namespace {

enum class Format { Svg, Png };

struct SurfaceCloser {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextCloser {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};

// The fonts every desktop has (fonts-dejavu-core is one of the program's packages).
constexpr const char* kFontFamily = "DejaVu Sans";

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

class CairoPictureFile final : public PictureFile {
public:
    CairoPictureFile(std::filesystem::path file, Format format, cairo_surface_t* surface)
        : file_(std::move(file)), format_(format), surface_(surface), context_(cairo_create(surface)) {}

    void fillRectangle(const Rect& rect, PictureColor color) override {
        use(color);
        cairo_rectangle(context(), rect.x, rect.y, rect.width, rect.height);
        cairo_fill(context());
    }

    void strokeLine(double x1, double y1, double x2, double y2, PictureColor color, double width) override {
        use(color);
        cairo_set_line_width(context(), width);
        cairo_move_to(context(), x1, y1);
        cairo_line_to(context(), x2, y2);
        cairo_stroke(context());
    }

    void fillCircle(double x, double y, double radius, PictureColor color) override {
        use(color);
        cairo_new_sub_path(context());
        cairo_arc(context(), x, y, radius, 0.0, 2.0 * std::numbers::pi);
        cairo_fill(context());
    }

    void drawText(double x, double y, std::string_view text, double size, PictureColor color,
                  TextAlignment alignment) override {
        use(color);
        cairo_select_font_face(context(), kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(context(), size);
        const std::string owned(text);
        cairo_text_extents_t extents;
        cairo_text_extents(context(), owned.c_str(), &extents);
        const double shift = alignment == TextAlignment::Left     ? 0.0
                             : alignment == TextAlignment::Center ? extents.x_advance / 2.0
                                                                  : extents.x_advance;
        cairo_move_to(context(), x - shift, y);
        cairo_show_text(context(), owned.c_str());
    }

    bool save(std::string& error) override {
        cairo_surface_flush(surface_.get());
        cairo_status_t status = cairo_status(context());
        if (status == CAIRO_STATUS_SUCCESS && format_ == Format::Png) {
            status = cairo_surface_write_to_png(surface_.get(), file_.c_str());
        }
        if (status == CAIRO_STATUS_SUCCESS && format_ == Format::Svg) {
            cairo_surface_finish(surface_.get());  // an SVG is written as its surface finishes
            status = cairo_surface_status(surface_.get());
        }
        if (status != CAIRO_STATUS_SUCCESS) {
            error = cairo_status_to_string(status);
            return false;
        }
        return true;
    }

private:
    cairo_t* context() { return context_.get(); }
    void use(PictureColor color) { cairo_set_source_rgba(context(), color.red, color.green, color.blue, color.alpha); }

    const std::filesystem::path file_;
    const Format format_;
    std::unique_ptr<cairo_surface_t, SurfaceCloser> surface_;
    std::unique_ptr<cairo_t, ContextCloser> context_;
};

}  // namespace

std::unique_ptr<PictureFile> makeCairoPictureFile(const std::filesystem::path& file, double width, double height,
                                                  std::string& error) {
    const std::string extension = lowerCase(file.extension().string());
    cairo_surface_t* surface = nullptr;
    Format format = Format::Png;
    if (extension == ".svg") {
        format = Format::Svg;
        surface = cairo_svg_surface_create(file.c_str(), width, height);
    } else if (extension == ".png") {
        surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(std::lround(width)),
                                             static_cast<int>(std::lround(height)));
    } else {
        error = "is neither .svg nor .png";
        return nullptr;
    }
    if (const cairo_status_t status = cairo_surface_status(surface); status != CAIRO_STATUS_SUCCESS) {
        error = cairo_status_to_string(status);
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return std::make_unique<CairoPictureFile>(file, format, surface);
}

}  // namespace platform::ui::cairo
