#include "platform/ui/LayoutLoaderDocument.h"

#include <charconv>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

namespace platform {
namespace {

using json = nlohmann::json;

const std::map<std::string, ElementKind> kKinds = {
    {"View", ElementKind::View},     {"Label", ElementKind::Label},   {"ImageView", ElementKind::ImageView},
    {"Button", ElementKind::Button}, {"Switch", ElementKind::Switch}, {"Slider", ElementKind::Slider},
    {"PickerView", ElementKind::PickerView}, {"Gauge", ElementKind::Gauge}, {"Trace", ElementKind::Trace}};

const std::map<std::string, ElementStyle::Align> kAlignments = {
    {"left", ElementStyle::Align::Left}, {"center", ElementStyle::Align::Center}, {"right", ElementStyle::Align::Right}};

bool isControl(ElementKind kind) {
    return kind == ElementKind::Button || kind == ElementKind::Switch || kind == ElementKind::Slider;
}

// Reads one document, stopping at the first fault, which it describes with
// the place it was found ("scenes[0].view.subviews[2].frame: ...").
class Reader {
public:
    std::string error;

    bool fail(const std::string& where, const std::string& what) {
        if (error.empty()) error = where + ": " + what;
        return false;
    }

    bool text(const json& object, const char* key, const std::string& where, std::string& out, bool required) {
        if (!object.contains(key)) return required ? fail(where, std::string("missing \"") + key + "\"") : true;
        if (!object[key].is_string()) return fail(where + "." + key, "expected a text");
        out = object[key].get<std::string>();
        return true;
    }

    bool number(const json& object, const char* key, const std::string& where, double& out) {
        if (!object.contains(key)) return true;
        if (!object[key].is_number()) return fail(where + "." + key, "expected a number");
        out = object[key].get<double>();
        return true;
    }

    bool flag(const json& object, const char* key, const std::string& where, bool& out) {
        if (!object.contains(key)) return true;
        if (!object[key].is_boolean()) return fail(where + "." + key, "expected true or false");
        out = object[key].get<bool>();
        return true;
    }

    bool numbers(const json& value, size_t count, const std::string& where, std::vector<double>& out) {
        if (!value.is_array() || value.size() != count) {
            return fail(where, "expected " + std::to_string(count) + " numbers");
        }
        out.clear();
        for (const auto& item : value) {
            if (!item.is_number()) return fail(where, "expected " + std::to_string(count) + " numbers");
            out.push_back(item.get<double>());
        }
        return true;
    }

    bool texts(const json& object, const char* key, const std::string& where, std::vector<std::string>& out) {
        if (!object.contains(key)) return true;
        const json& list = object[key];
        if (!list.is_array()) return fail(where + "." + key, "expected a list of texts");
        for (const auto& item : list) {
            if (!item.is_string()) return fail(where + "." + key, "expected a list of texts");
            out.push_back(item.get<std::string>());
        }
        return true;
    }

    bool style(const json& object, const std::string& where, ElementStyle& out) {
        if (!object.contains("style")) return true;
        const json& style = object["style"];
        const std::string here = where + ".style";
        if (!style.is_object()) return fail(here, "expected an object");
        std::string align;
        if (!number(style, "font", here, out.fontSize) || !flag(style, "bold", here, out.bold) ||
            !flag(style, "wrap", here, out.wraps) || !flag(style, "collapse", here, out.collapses) ||
            !text(style, "color", here, out.color, false) ||
            !text(style, "background", here, out.background, false) ||
            !number(style, "radius", here, out.cornerRadius) || !text(style, "align", here, align, false)) {
            return false;
        }
        if (!align.empty()) {
            auto found = kAlignments.find(align);
            if (found == kAlignments.end()) return fail(here + ".align", "expected left, center or right");
            out.align = found->second;
        }
        return true;
    }

    bool navigation(const json& object, const std::string& where, Navigation& out) {
        if (!object.contains("navigation")) return true;
        const json& nav = object["navigation"];
        const std::string here = where + ".navigation";
        static const std::map<std::string, Navigation::Kind> kinds = {{"present", Navigation::Kind::Present},
                                                                      {"dismiss", Navigation::Kind::Dismiss},
                                                                      {"show", Navigation::Kind::Show},
                                                                      {"hide", Navigation::Kind::Hide}};
        if (!nav.is_object() || nav.size() != 1 || !kinds.count(nav.begin().key())) {
            return fail(here, "expected one of {\"present\": scene}, {\"dismiss\": true}, {\"show\": panel}, "
                              "{\"hide\": panel}");
        }
        out.kind = kinds.at(nav.begin().key());
        if (out.kind == Navigation::Kind::Dismiss) {
            if (!nav.begin().value().is_boolean()) return fail(here + ".dismiss", "expected true");
            return true;
        }
        if (!nav.begin().value().is_string()) return fail(here + "." + nav.begin().key(), "expected a name");
        out.target = nav.begin().value().get<std::string>();
        return true;
    }

    // {"1376": "flat.png"}: heights in points, each with its picture.
    bool imagesByHeight(const json& object, const std::string& where, std::map<double, std::string>& out) {
        if (!object.contains("imageByHeight")) return true;
        const json& table = object["imageByHeight"];
        const std::string here = where + ".imageByHeight";
        if (!table.is_object()) return fail(here, "expected {\"height\": picture, ...}");
        for (const auto& [height, image] : table.items()) {
            double points = 0.0;
            const auto [end, problem] = std::from_chars(height.data(), height.data() + height.size(), points);
            if (problem != std::errc() || end != height.data() + height.size() || !(points > 0.0)) {
                return fail(here, "\"" + height + "\" is not a height in points");
            }
            if (!image.is_string()) return fail(here + "." + height, "expected a picture name");
            out[points] = image.get<std::string>();
        }
        return true;
    }

    bool element(const json& object, const std::string& where, Storyboard::Element& out) {
        if (!object.is_object()) return fail(where, "expected an element object");
        std::string type;
        if (!text(object, "type", where, type, true)) return false;
        auto kind = kKinds.find(type);
        if (kind == kKinds.end()) return fail(where + ".type", "unknown element type \"" + type + "\"");
        out.kind = kind->second;
        std::vector<double> frame;
        if (!object.contains("frame")) return fail(where, "missing \"frame\"");
        if (!numbers(object["frame"], 4, where + ".frame", frame)) return false;
        out.frame = {frame[0], frame[1], frame[2], frame[3]};
        double tag = 0.0;
        double value = 0.0;
        double zone = 0.0;
        if (!text(object, "name", where, out.name, false) || !flag(object, "hidden", where, out.hidden) ||
            !number(object, "tag", where, tag) || !text(object, "text", where, out.text, false) ||
            !text(object, "title", where, out.text, false) || !text(object, "image", where, out.image, false) ||
            !imagesByHeight(object, where, out.imageByHeight) ||
            !flag(object, "on", where, out.on) || !number(object, "value", where, value) ||
            !number(object, "zone", where, zone) || !style(object, where, out.style) ||
            !texts(object, "actions", where, out.actions) || !texts(object, "keys", where, out.keys) ||
            !navigation(object, where, out.navigation)) {
            return false;
        }
        out.tag = static_cast<int64_t>(tag);
        out.value = static_cast<float>(value);
        out.zone = static_cast<float>(zone);
        if (object.contains("range")) {
            std::vector<double> range;
            if (!numbers(object["range"], 2, where + ".range", range)) return false;
            out.range = {static_cast<float>(range[0]), static_cast<float>(range[1])};
        }
        if ((!out.actions.empty() || !out.keys.empty() || out.navigation.kind != Navigation::Kind::None) &&
            !isControl(out.kind)) {
            return fail(where, "only a Button, Switch or Slider sends actions, navigates or has keys");
        }
        if (object.contains("subviews")) {
            const json& children = object["subviews"];
            if (!children.is_array()) return fail(where + ".subviews", "expected a list of elements");
            for (size_t i = 0; i < children.size(); ++i) {
                out.subviews.emplace_back();
                if (!element(children[i], where + ".subviews[" + std::to_string(i) + "]", out.subviews.back())) {
                    return false;
                }
            }
        }
        return true;
    }

    // Names must be unique in a scene, and a panel shown or hidden must be one of them.
    bool checkNames(const Storyboard::Element& root, const std::string& where) {
        std::set<std::string> names;
        std::vector<std::string> panels;
        std::vector<const Storyboard::Element*> pending{&root};
        while (!pending.empty()) {
            const Storyboard::Element* element = pending.back();
            pending.pop_back();
            if (!element->name.empty() && !names.insert(element->name).second) {
                return fail(where, "two elements are named \"" + element->name + "\"");
            }
            const auto kind = element->navigation.kind;
            if (kind == Navigation::Kind::Show || kind == Navigation::Kind::Hide) {
                panels.push_back(element->navigation.target);
            }
            for (const auto& child : element->subviews) pending.push_back(&child);
        }
        for (const auto& panel : panels) {
            if (!names.count(panel)) return fail(where, "no element named \"" + panel + "\" to show or hide");
        }
        return true;
    }

    bool scene(const json& object, const std::string& where, Storyboard::Scene& out) {
        if (!object.is_object()) return fail(where, "expected a scene object");
        if (!text(object, "id", where, out.identifier, true) || !text(object, "class", where, out.className, true) ||
            !texts(object, "omits", where, out.omits)) {
            return false;
        }
        if (!object.contains("view")) return fail(where, "missing \"view\"");
        return element(object["view"], where + ".view", out.root) && checkNames(out.root, where);
    }
};

}  // namespace

LayoutDocument parseLayoutDocument(const std::string& text) {
    LayoutDocument document;
    Reader reader;
    const json root = json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (root.is_discarded() || !root.is_object()) {
        document.error = "not a JSON object";
        return document;
    }
    reader.text(root, "initialScene", "document", document.initialScene, true);
    if (!root.contains("scenes") || !root["scenes"].is_array() || root["scenes"].empty()) {
        reader.fail("scenes", "expected a list of scenes");
    } else {
        for (size_t i = 0; i < root["scenes"].size() && reader.error.empty(); ++i) {
            auto scene = std::make_unique<Storyboard::Scene>();
            if (reader.scene(root["scenes"][i], "scenes[" + std::to_string(i) + "]", *scene)) {
                document.scenes.push_back(std::move(scene));
            }
        }
    }
    std::set<std::string> identifiers;
    for (const auto& scene : document.scenes) identifiers.insert(scene->identifier);
    if (reader.error.empty() && !identifiers.count(document.initialScene)) {
        reader.fail("initialScene", "no scene \"" + document.initialScene + "\"");
    }
    // A control may only present a scene the document has.
    for (const auto& scene : document.scenes) {
        std::vector<const Storyboard::Element*> pending{&scene->root};
        while (!pending.empty() && reader.error.empty()) {
            const Storyboard::Element* element = pending.back();
            pending.pop_back();
            if (element->navigation.kind == Navigation::Kind::Present && !identifiers.count(element->navigation.target)) {
                reader.fail(scene->identifier, "no scene \"" + element->navigation.target + "\" to present");
            }
            for (const auto& child : element->subviews) pending.push_back(&child);
        }
    }
    document.error = reader.error;
    return document;
}

}  // namespace platform
