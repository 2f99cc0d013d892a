#include "platform/ui/LayoutLoader.h"

#include <fstream>
#include <set>
#include <sstream>

#include "platform/core/Device.h"
#include "platform/core/Log.h"
#include "platform/ui/Gauge.h"
#include "platform/ui/Image.h"
#include "platform/ui/LayoutLoaderDocument.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/Trace.h"

namespace platform {
namespace {

// Carries the look of an element built from a layout.
class StyleCarrier {
public:
    virtual ~StyleCarrier() = default;
    ElementStyle style;
};

template <typename Base>
class Styled : public Base, public StyleCarrier {};

std::shared_ptr<View> makeView(ElementKind kind) {
    switch (kind) {
        case ElementKind::View: return std::make_shared<Styled<View>>();
        case ElementKind::Label: return std::make_shared<Styled<Label>>();
        case ElementKind::ImageView: return std::make_shared<Styled<ImageView>>();
        case ElementKind::Button: return std::make_shared<Styled<Button>>();
        case ElementKind::Switch: return std::make_shared<Styled<Switch>>();
        case ElementKind::Slider: return std::make_shared<Styled<Slider>>();
        case ElementKind::PickerView: return std::make_shared<Styled<PickerView>>();
        case ElementKind::Gauge: return std::make_shared<Styled<Gauge>>();
        case ElementKind::Trace: return std::make_shared<Styled<Trace>>();
    }
    return std::make_shared<Styled<View>>();
}

std::string joined(const std::set<std::string>& names) {
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

// Gives an element of each kind the content its layout names.
class ContentFiller : public ElementVisitor {
public:
    ContentFiller(const Storyboard::Element& element, const std::string& text, const ImageRef& image)
        : element_(element), text_(text), image_(image) {}

    void visit(View& /*box*/) override {}
    void visit(Label& label) override { label.setText(text_); }
    void visit(ImageView& picture) override { picture.setImage(image_); }
    void visit(Button& button) override {
        button.setTitle(text_);
        button.setImage(image_, ControlState::Normal);
    }
    void visit(Switch& toggle) override { toggle.setOn(element_.on); }
    void visit(Slider& slider) override {
        slider.setRange(element_.range.first, element_.range.second);
        slider.setValue(element_.value);
    }
    // The layout's pickers are filled by their screens.
    void visit(PickerView& /*picker*/) override {}
    void visit(Gauge& gauge) override {
        gauge.setAccessibilityLabel(text_);
        gauge.setRange(element_.range.first, element_.range.second);
        gauge.setZone(element_.zone);
    }
    void visit(Trace& trace) override { visit(static_cast<Gauge&>(trace)); }

private:
    const Storyboard::Element& element_;
    const std::string& text_;
    const ImageRef& image_;
};

// Builds one scene's views for one controller and connects them.
class SceneBuilder {
public:
    SceneBuilder(std::shared_ptr<const Storyboard> storyboard, std::shared_ptr<ViewController> controller)
        : storyboard_(std::move(storyboard)),
          controller_(std::move(controller)),
          outlets_(controller_->outlets()),
          actions_(controller_->actions()) {}

    std::shared_ptr<View> build(const Storyboard::Element& element) {
        auto view = makeView(element.kind);
        dynamic_cast<StyleCarrier&>(*view).style = element.style;
        view->setName(element.name);
        view->setFrame(element.frame);
        view->setTag(element.tag);
        view->setHidden(element.hidden);
        setContent(*view, element);
        bindOutlet(view);
        if (auto* control = dynamic_cast<Control*>(view.get())) {
            for (const auto& action : element.actions) connectAction(*control, action, element.name);
            control->setKeyEquivalents(element.keys);
            if (element.navigation.kind != Navigation::Kind::None) {
                navigations_.push_back({control, element.navigation});
            }
        }
        if (!element.name.empty()) named_[element.name] = view;
        for (const auto& child : element.subviews) view->addSubview(build(child));
        return view;
    }

    // After the whole tree exists: navigation, then the report of what did not bind.
    void finish(const Storyboard::Scene& scene) {
        for (const auto& [control, navigation] : navigations_) connectNavigation(*control, navigation);
        std::set<std::string> unbound;
        for (const auto& [name, binder] : outlets_) {
            if (!found_.count(name) &&
                std::find(scene.omits.begin(), scene.omits.end(), name) == scene.omits.end()) {
                unbound.insert(name);
            }
        }
        std::set<std::string> unsent;
        for (const auto& [name, action] : actions_) {
            if (!sent_.count(name)) unsent.insert(name);
        }
        if (!unbound.empty()) problems_.push_back("outlets not in the layout: " + joined(unbound));
        if (!unsent.empty()) problems_.push_back("actions no control sends: " + joined(unsent));
        if (problems_.empty()) return;
        std::string report;
        for (const auto& problem : problems_) report += (report.empty() ? "" : "; ") + problem;
        NSLog("Layout %@, scene %@ does not bind: %@", storyboard_->name(), scene.identifier, report);
    }

private:
    void setContent(View& view, const Storyboard::Element& element) {
        ImageRef image;
        const auto atHeight = element.imageByHeight.find(Screen::mainBoundsHeight());
        const std::string& imageName = atHeight != element.imageByHeight.end() ? atHeight->second : element.image;
        if (!imageName.empty()) {
            image = imageNamed(imageName);
            if (!image) problems_.push_back("picture " + imageName + " not found");
        }
        // A document is written in English; its texts in other languages are in the "Main" table.
        const std::string text =
            element.text.empty() ? element.text : Bundle::mainBundle()->localizedString(element.text, element.text, "Main");
        ContentFiller filler(element, text, image);
        view.accept(filler);
    }

    void bindOutlet(const std::shared_ptr<View>& view) {
        if (view->name().empty()) return;
        auto binder = outlets_.find(view->name());
        if (binder == outlets_.end()) return;
        // Either way the layout has the element: a wrong kind is reported once, here.
        found_.insert(view->name());
        if (!binder->second(view)) problems_.push_back("outlet " + view->name() + " is not of the element's kind");
    }

    void connectAction(Control& control, const std::string& selector, const std::string& elementName) {
        auto action = actions_.find(selector);
        if (action == actions_.end()) {
            problems_.push_back("no action " + selector + " for " + (elementName.empty() ? "a control" : elementName));
            return;
        }
        control.addTarget(action->second, selector);
        sent_.insert(selector);
    }

    void connectNavigation(Control& control, const Navigation& navigation) {
        std::weak_ptr<ViewController> self = controller_;
        control.setClosesScreen(navigation.kind == Navigation::Kind::Dismiss || navigation.kind == Navigation::Kind::Hide);
        switch (navigation.kind) {
            case Navigation::Kind::Present: {
                // The control keeps its document, as a screen keeps the storyboard it came from.
                control.addTarget([self, storyboard = storyboard_, scene = navigation.target](Control*) {
                    const auto presenting = self.lock();
                    if (!presenting || presenting->presentedViewController()) return;
                    if (auto presented = storyboard->instantiateViewControllerWithIdentifier(scene)) {
                        presenting->presentViewController(std::move(presented), true);
                    }
                });
                break;
            }
            case Navigation::Kind::Dismiss:
                control.addTarget([self](Control* sender) {
                    const auto presented = self.lock();
                    if (!presented || !presented->presentingViewController()) return;
                    // Dismissing releases this control; it must outlive its own action.
                    const auto keepSender = sender->shared_from_this();
                    ViewController* underneath = presented->presentingViewController();
                    presented->dismissViewController(true);
                    underneath->viewWillAppear(true);
                });
                break;
            case Navigation::Kind::Show:
            case Navigation::Kind::Hide: {
                std::weak_ptr<View> panel = named_.at(navigation.target);
                const bool hide = navigation.kind == Navigation::Kind::Hide;
                control.addTarget([panel, hide](Control*) {
                    if (auto view = panel.lock()) view->setHidden(hide);
                });
                break;
            }
            case Navigation::Kind::None: break;
        }
    }

    std::shared_ptr<const Storyboard> storyboard_;
    std::shared_ptr<ViewController> controller_;
    std::map<std::string, OutletBinder> outlets_;
    std::map<std::string, Control::Action> actions_;
    std::set<std::string> found_;
    std::set<std::string> sent_;
    std::map<std::string, std::shared_ptr<View>> named_;
    std::vector<std::pair<Control*, Navigation>> navigations_;
    std::vector<std::string> problems_;
};

}  // namespace

const ElementStyle* layoutStyleOf(const View& view) {
    const auto* carrier = dynamic_cast<const StyleCarrier*>(&view);
    return carrier ? &carrier->style : nullptr;
}

Storyboard::Storyboard(std::string name, ControllerFactories classes)
    : name_(std::move(name)), classes_(std::move(classes)) {}

Storyboard::~Storyboard() = default;

std::shared_ptr<Storyboard> Storyboard::storyboardWithName(const std::string& name, ControllerFactories classes,
                                                           const Bundle& bundle) {
    const auto path = bundle.pathForResource("layouts/" + name, "json");
    std::ifstream in(path ? *path : std::filesystem::path());
    if (!path || !in) {
        NSLog("Layout %@ not found in %@", name, bundle.resourcePath().string() + "/layouts");
        return nullptr;
    }
    std::stringstream text;
    text << in.rdbuf();
    return fromText(name, text.str(), std::move(classes));
}

std::shared_ptr<Storyboard> Storyboard::fromText(const std::string& name, const std::string& text,
                                                 ControllerFactories classes) {
    LayoutDocument document = parseLayoutDocument(text);
    if (!document.error.empty()) {
        NSLog("Layout %@ is malformed: %@", name, document.error);
        return nullptr;
    }
    std::shared_ptr<Storyboard> storyboard(new Storyboard(name, std::move(classes)));
    storyboard->initialScene_ = document.initialScene;
    storyboard->scenes_ = std::move(document.scenes);
    return storyboard;
}

std::vector<std::string> Storyboard::sceneIdentifiers() const {
    std::vector<std::string> identifiers;
    for (const auto& scene : scenes_) identifiers.push_back(scene->identifier);
    return identifiers;
}

std::shared_ptr<ViewController> Storyboard::instantiateInitialViewController() const {
    return instantiateViewControllerWithIdentifier(initialScene_);
}

std::shared_ptr<ViewController> Storyboard::instantiateViewControllerWithIdentifier(const std::string& identifier) const {
    const Scene* scene = nullptr;
    for (const auto& candidate : scenes_) {
        if (candidate->identifier == identifier) scene = candidate.get();
    }
    if (!scene) {
        NSLog("Layout %@ has no scene %@", name_, identifier);
        return nullptr;
    }
    auto factory = classes_.find(scene->className);
    if (factory == classes_.end() || !factory->second) {
        NSLog("Layout %@, scene %@: no controller class %@", name_, identifier, scene->className);
        return nullptr;
    }
    auto controller = factory->second();
    SceneBuilder builder(shared_from_this(), controller);
    controller->setView(builder.build(scene->root));
    builder.finish(*scene);
    controller->viewDidLoad();
    return controller;
}

}  // namespace platform
