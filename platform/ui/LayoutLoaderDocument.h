#pragma once
// The parsed form of a layout document, shared by the reader and the loader.
// Private to the layout loader.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/LayoutLoader.h"

namespace platform {

enum class ElementKind { View, Label, ImageView, Button, Switch, Slider, PickerView, Gauge, Trace };

// Where a control takes the user besides the actions it sends.
struct Navigation {
    enum class Kind { None, Present, Dismiss, Show, Hide };
    Kind kind = Kind::None;
    std::string target;  // the scene to present, or the panel to show or hide
};

struct Storyboard::Element {
    ElementKind kind = ElementKind::View;
    std::string name;
    Rect frame;
    bool hidden = false;
    int64_t tag = 0;
    std::string text;     // a label's text, a button's title or a gauge's name for a screen reader
    std::string image;    // a picture's or a button's picture resource
    // Another picture on screens of these heights in points (a document may
    // serve more than one height).
    std::map<double, std::string> imageByHeight;
    bool on = false;
    std::pair<float, float> range{0.0f, 1.0f};
    float value = 0.0f;
    float zone = 0.0f;    // a gauge's (or a trace's) marked zone, half its width
    ElementStyle style;
    std::vector<std::string> actions;
    std::vector<std::string> keys;  // a control's key equivalents
    Navigation navigation;
    std::vector<Element> subviews;
};

struct Storyboard::Scene {
    std::string identifier;
    std::string className;
    // Outlets of the controller this document leaves out on purpose (the
    // string pictures of other screen classes, say).
    std::vector<std::string> omits;
    Element root;
};

// The parts of a document the reader found, or what is wrong with it.
struct LayoutDocument {
    std::string initialScene;
    std::vector<std::unique_ptr<Storyboard::Scene>> scenes;
    std::string error;  // empty when the document is sound
};

LayoutDocument parseLayoutDocument(const std::string& text);

}  // namespace platform
