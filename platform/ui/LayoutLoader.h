#pragma once
// Layout documents: the screens of one class of device, as JSON under
// resources/layouts/<name>.json. A document names its scenes; each scene gives
// the class of its controller and the tree of its elements (kind, outlet name,
// frame, initial state, look, the actions a control sends and where a control
// navigates). A document may serve screens of several heights; a picture may
// differ on some of them. Texts are written in English; the bundle's "Main"
// table gives them in the language in use. Loading a scene makes its controller from a table of classes the
// caller passes, builds the views, connects outlets and actions by name through
// the tables the controller declares, and then calls viewDidLoad once.
//
// Navigation between scenes belongs to the document: a control may present
// another scene over its own (a new controller each time, as a phone does), go
// back (dismiss its scene, and the screen underneath appears again), or show or
// hide a panel of its own scene.
//
// Main thread only.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Bundle.h"
#include "platform/core/Geometry.h"
#include "platform/ui/ViewController.h"

namespace platform {

using ControllerFactory = std::function<std::shared_ptr<ViewController>()>;
// Controller classes by the names layout documents use, e.g. "ViewController".
using ControllerFactories = std::map<std::string, ControllerFactory>;

// How a layout wants an element drawn; frontends read it, the system never does.
struct ElementStyle {
    enum class Align { Left, Center, Right };
    double fontSize = 0.0;    // points; 0 leaves it to the frontend
    bool bold = false;
    Align align = Align::Left;
    bool wraps = false;       // text may run onto several lines
    std::string color;        // text colour "#rrggbb"; empty leaves it to the frontend
    std::string background;   // fill "#rrggbb"; empty is transparent
    double cornerRadius = 0.0;
    // Hidden, the element gives its height back: its parent closes up and
    // what stands below the parent moves up.
    bool collapses = false;
};

// The look a layout gave `view`; null for views no layout built.
const ElementStyle* layoutStyleOf(const View& view);

class Storyboard : public std::enable_shared_from_this<Storyboard> {
public:
    struct Element;
    struct Scene;

    // Reads layouts/<name>.json from `bundle`; null, with one log line saying
    // what is wrong, when the document is missing or malformed.
    static std::shared_ptr<Storyboard> storyboardWithName(const std::string& name, ControllerFactories classes,
                                                          const Bundle& bundle = *Bundle::mainBundle());
    // The same from the document's text.
    static std::shared_ptr<Storyboard> fromText(const std::string& name, const std::string& text,
                                                ControllerFactories classes);

    ~Storyboard();
    Storyboard(const Storyboard&) = delete;
    Storyboard& operator=(const Storyboard&) = delete;

    const std::string& name() const { return name_; }
    const std::string& initialSceneIdentifier() const { return initialScene_; }
    std::vector<std::string> sceneIdentifiers() const;

    // A new controller for the initial scene, its views built and bound and
    // viewDidLoad called; null, with one log line, when its class is unknown.
    std::shared_ptr<ViewController> instantiateInitialViewController() const;
    std::shared_ptr<ViewController> instantiateViewControllerWithIdentifier(const std::string& identifier) const;

private:
    Storyboard(std::string name, ControllerFactories classes);

    std::string name_;
    ControllerFactories classes_;
    std::string initialScene_;
    std::vector<std::unique_ptr<Scene>> scenes_;
};

}  // namespace platform
