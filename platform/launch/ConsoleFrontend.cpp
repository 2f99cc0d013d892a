#include "platform/launch/ConsoleFrontend.h"

#include <algorithm>
#include <cstdio>

#include "platform/ui/Controls.h"
#include "platform/ui/Gauge.h"

namespace platform {
namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string yesNo(bool value) { return value ? "yes" : "no"; }

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string pictureName(const ImageRef& image) { return image ? image->name : "none"; }

// The printed key and value of one aspect of a view; empty key for aspects the
// console does not show.
std::pair<std::string, std::string> describe(const View& view, Change change) {
    const std::string& name = view.name();
    switch (change) {
        case Change::Hidden: return {name + ".hidden=", yesNo(view.isHidden())};
        case Change::Text:
            if (const auto* label = dynamic_cast<const Label*>(&view)) return {name + "=", quoted(label->text())};
            if (const auto* button = dynamic_cast<const Button*>(&view)) return {name + "=", quoted(button->title())};
            break;
        case Change::Image:
            if (const auto* picture = dynamic_cast<const ImageView*>(&view)) {
                return {name + "=", pictureName(picture->image())};
            }
            if (const auto* button = dynamic_cast<const Button*>(&view)) {
                return {name + "=", pictureName(button->imageForState(ControlState::Normal))};
            }
            break;
        case Change::On:
            if (const auto* toggle = dynamic_cast<const Switch*>(&view)) return {name + ".on=", yesNo(toggle->isOn())};
            break;
        case Change::Value:
            if (const auto* slider = dynamic_cast<const Slider*>(&view)) {
                return {name + ".value=", number(slider->value())};
            }
            if (const auto* gauge = dynamic_cast<const Gauge*>(&view)) {
                return {name + ".value=", gauge->value() ? number(*gauge->value()) : "none"};
            }
            break;
        default: break;
    }
    return {};
}

}  // namespace

ConsoleFrontend::ConsoleFrontend(std::ostream& out)
    : out_(out),
      previousObserver_(setUiObserver(this)),
      previousPlayback_(setPlaybackObserver([this](const std::string& fileName) { soundStarted(fileName); })) {}

ConsoleFrontend::~ConsoleFrontend() {
    setUiObserver(previousObserver_);
    setPlaybackObserver(std::move(previousPlayback_));
}

void ConsoleFrontend::viewDidChange(View& view, Change change) {
    if (view.name().empty() || describe(view, change).first.empty()) return;
    pending_.push_back({view.weak_from_this(), change, {}});
}

void ConsoleFrontend::soundStarted(const std::string& fileName) { pending_.push_back({{}, Change::Value, fileName}); }

void ConsoleFrontend::endEvent(double elapsed) {
    if (pending_.empty()) return;
    std::vector<std::pair<std::string, std::string>> changed;
    for (const auto& item : pending_) {
        if (!item.sound.empty()) {
            changed.emplace_back("play=", item.sound);
            continue;
        }
        const auto view = item.view.lock();
        if (!view) continue;
        auto [key, value] = describe(*view, item.change);
        // Shown once per event, at the place of its first change, with its last value.
        const bool listed = std::any_of(changed.begin(), changed.end(), [&](const auto& c) { return c.first == key; });
        if (!listed) changed.emplace_back(key, std::move(value));
    }
    pending_.clear();

    std::string line;
    for (auto& [key, value] : changed) {
        if (key != "play=") {
            auto shown = shown_.find(key);
            if (shown != shown_.end() && shown->second == value) continue;
            shown_[key] = value;
        }
        line += " " + key + value;
    }
    if (line.empty()) return;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%.2f", elapsed);
    out_ << stamp << line << std::endl;
}

// The console has no focus to lose, so the delegate hears nothing from it.
int ConsoleFrontend::run(RunLoop& loop, ApplicationDelegate&, std::optional<double> seconds) {
    endEvent(loop.elapsed());
    loop.setItemObserver([this, &loop] { endEvent(loop.elapsed()); });
    if (loop.isVirtual()) {
        loop.advance(seconds.value_or(0.0));
    } else {
        loop.run(seconds);
    }
    loop.setItemObserver({});
    return 0;
}

}  // namespace platform
