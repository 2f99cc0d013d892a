#include "platform/launch/ConsoleFrontend.h"

#include <algorithm>
#include <cstdio>

#include "platform/core/Log.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gauge.h"
#include "platform/ui/Trace.h"

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
    const LogArg argument[] = {static_cast<double>(value)};
    return formatMessage("%g", argument);
}

std::string pictureName(const ImageRef& image) { return image ? image->name : "none"; }

// The printed key and value of one changed aspect of an element, by its
// kind; an empty key for aspects the console does not show.
class ChangeDescriber : public ConstElementVisitor {
public:
    explicit ChangeDescriber(Change change) : change_(change) {}

    const std::pair<std::string, std::string>& described() const { return described_; }

    void visit(const View& /*box*/) override {}
    void visit(const Label& label) override {
        if (change_ == Change::Text) describe("=", quoted(label.text()));
    }
    void visit(const ImageView& picture) override {
        if (change_ == Change::Image) describe("=", pictureName(picture.image()));
    }
    void visit(const Button& button) override {
        if (change_ == Change::Text) describe("=", quoted(button.title()));
        if (change_ == Change::Image) describe("=", pictureName(button.imageForState(ControlState::Normal)));
    }
    void visit(const Switch& toggle) override {
        if (change_ == Change::On) describe(".on=", yesNo(toggle.isOn()));
    }
    void visit(const Slider& slider) override {
        if (change_ == Change::Value) describe(".value=", number(slider.value()));
    }
    void visit(const PickerView& /*picker*/) override {}
    void visit(const Gauge& gauge) override {
        if (change_ == Change::Value) describe(".value=", gauge.value() ? number(*gauge.value()) : "none");
    }
    // A trace is printed as the gauge it also is: its latest value.
    void visit(const Trace& trace) override { visit(static_cast<const Gauge&>(trace)); }

private:
    void describe(const char* key, std::string value) { described_ = {key, std::move(value)}; }

    Change change_;
    std::pair<std::string, std::string> described_;
};

std::pair<std::string, std::string> describe(const View& view, Change change) {
    if (change == Change::Hidden) return {view.name() + ".hidden=", yesNo(view.isHidden())};
    ChangeDescriber describer(change);
    view.accept(describer);
    auto described = describer.described();
    if (!described.first.empty()) described.first.insert(0, view.name());
    return described;
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
        auto described = describe(*view, item.change);
        const std::string& key = described.first;
        // Shown once per event, at the place of its first change, with its last value.
        const bool listed = std::any_of(changed.begin(), changed.end(), [&](const auto& c) { return c.first == key; });
        if (!listed) changed.emplace_back(key, std::move(described.second));
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
