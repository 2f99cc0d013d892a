#pragma once
// Small writes to layout elements that may be missing: a layout need not hold
// every element the screen knows, and writing to a missing one does nothing.

#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/Controls.h"

namespace tuner {

inline void setText(const std::shared_ptr<platform::Label>& label, std::string_view text) {
    if (label) label->setText(std::string(text));
}

inline void setHidden(const std::shared_ptr<platform::View>& view, bool hidden) {
    if (view) view->setHidden(hidden);
}

inline void setImage(const std::shared_ptr<platform::ImageView>& view, platform::ImageRef image) {
    if (view) view->setImage(std::move(image));
}

}  // namespace tuner
