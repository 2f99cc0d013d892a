#include "platform/ui/LayoutLoader.h"

#include <gtest/gtest.h>

#include <tuple>

#include <fstream>
#include <set>

#include "platform/ui/Controls.h"
#include "platform/ui/Gauge.h"
#include "platform/ui/PickerView.h"
#include "tests/platform/ui/LayoutControllers.h"
#include "tests/support/PlainPlatform.h"

namespace {

using layout_testing::findView;
using layout_testing::RecordingController;

// What each document is drawn for and which string-picture view it holds.
struct ScreenClass {
    std::string layout;
    double width;
    double height;
    std::string stringView;
    std::string sharpFlatPicture;
};

const std::vector<ScreenClass> kScreens = {
    {"Main_iPhone4s", 320, 480, "tunedString", "flat.png"},
    {"Main_iPhone", 320, 568, "tunedString5", "flat.png"},
    {"Main_iPhone6", 375, 667, "tunedString5", "flat.png"},
    {"Main_iPhone6Plus", 414, 736, "tunedString5", "flat.png"},
    {"Main_iPhoneX", 375, 812, "tunedString5", "flat.png"},
    {"Main_iPhone12Pro", 390, 844, "tunedString5", "flat.png"},
    {"Main_iPhoneXSMax", 414, 896, "tunedString5", "flat.png"},
    {"Main_iPhone12ProMax", 428, 926, "tunedString5", "flat.png"},
    {"Main_iPad", 768, 1024, "tunedStringiPad", "flatpro.png"},
    {"Main_iPad_Pro_10_5", 834, 1112, "tunedStringiPad", "flat.png"},
    {"Main_iPad_Mini6", 744, 1133, "tunedStringiPad", "flat.png"},
    {"Main_iPad_Pro_11", 834, 1194, "tunedStringiPad", "flat.png"},
    {"Main_iPad_Pro", 1024, 1366, "tunedStringiPad", "flatpro.png"},
};

// The log lines that contain `text`.
size_t linesContaining(const platform::LogCapture& log, const std::string& text) {
    size_t count = 0;
    for (const auto& line : log.lines()) count += line.find(text) != std::string::npos;
    return count;
}

std::shared_ptr<RecordingController> recording(const std::shared_ptr<platform::ViewController>& controller) {
    return std::dynamic_pointer_cast<RecordingController>(controller);
}

// The frame of `view` in its scene's coordinates.
platform::Rect sceneFrame(const platform::View& view) {
    platform::Rect frame = view.frame();
    for (const platform::View* parent = view.superview(); parent && parent->superview(); parent = parent->superview()) {
        frame.x += parent->frame().x;
        frame.y += parent->frame().y;
    }
    return frame;
}

void forEachView(const std::shared_ptr<platform::View>& root, const std::function<void(platform::View&)>& visit) {
    visit(*root);
    for (const auto& child : root->subviews()) forEachView(child, visit);
}

// Taps, flips or slides every control that sends something, except those that
// leave the scene.
void operateEveryControl(const std::shared_ptr<platform::View>& root) {
    std::vector<std::shared_ptr<platform::Control>> controls;
    forEachView(root, [&](platform::View& view) {
        if (auto* control = dynamic_cast<platform::Control*>(&view); control && control->targetCount() > 0) {
            controls.push_back(std::static_pointer_cast<platform::Control>(control->shared_from_this()));
        }
    });
    for (const auto& control : controls) control->sendActions();
}

class LayoutDocumentTest : public testing_support::PlainPlatformTest,
                           public ::testing::WithParamInterface<ScreenClass> {
protected:
    std::shared_ptr<platform::Storyboard> load() {
        return platform::Storyboard::storyboardWithName(GetParam().layout, layout_testing::recordingControllerClasses());
    }
};

TEST_P(LayoutDocumentTest, BindsEveryOutletAndActionOfBothScreens) {
    const auto storyboard = load();
    ASSERT_NE(storyboard, nullptr);
    EXPECT_EQ(storyboard->initialSceneIdentifier(), "ViewController");
    const auto tuner = recording(storyboard->instantiateInitialViewController());
    const auto chords = recording(storyboard->instantiateViewControllerWithIdentifier("ChordsViewController"));
    ASSERT_NE(tuner, nullptr);
    ASSERT_NE(chords, nullptr);
    EXPECT_EQ(linesContaining(*log, "does not bind"), 0u) << ::testing::PrintToString(log->lines());

    for (const auto& outlet : layout_testing::tunerOutlets()) {
        const std::string name = outlet.name;
        const bool isStringView = name == "tunedString" || name == "tunedString5" || name == "tunedStringiPad";
        EXPECT_EQ(tuner->outletView(name) != nullptr, !isStringView || name == GetParam().stringView) << name;
    }
    for (const auto& outlet : layout_testing::chordOutlets()) EXPECT_NE(chords->outletView(outlet.name), nullptr) << outlet.name;

    operateEveryControl(tuner->view());
    operateEveryControl(chords->view());
    EXPECT_EQ(std::set<std::string>(tuner->received.begin(), tuner->received.end()),
              std::set<std::string>(layout_testing::tunerActions().begin(), layout_testing::tunerActions().end()));
    EXPECT_EQ(chords->received, layout_testing::chordActions());
}

TEST_P(LayoutDocumentTest, IsDrawnForItsScreen) {
    const auto storyboard = load();
    ASSERT_NE(storyboard, nullptr);
    const auto& screen = GetParam();
    for (const auto& identifier : storyboard->sceneIdentifiers()) {
        const auto controller = storyboard->instantiateViewControllerWithIdentifier(identifier);
        ASSERT_NE(controller, nullptr);
        EXPECT_EQ(controller->view()->frame(), (platform::Rect{0, 0, screen.width, screen.height})) << identifier;
        forEachView(controller->view(), [&](platform::View& view) {
            const platform::Rect frame = sceneFrame(view);
            EXPECT_GE(frame.x, 0.0) << identifier << " " << view.name();
            EXPECT_LE(frame.x + frame.width, screen.width + 1e-9) << identifier << " " << view.name();
        });
    }
    // What a musician needs while tuning is on the first screenful; the tuning
    // fork panel opens within it too.
    const auto tuner = storyboard->instantiateInitialViewController();
    for (const std::string& name :
         std::vector<std::string>{"noteDisplay", "freq_label", "LEDDisplay", "tuningForkButton", "tuningForkPanel",
                                  screen.stringView, "guideCourse", "guideCents", "guideNeedle", "guideDirection",
                                  "guidePair"}) {
        const auto view = findView(tuner->view(), name);
        ASSERT_NE(view, nullptr) << name;
        EXPECT_LE(sceneFrame(*view).y + sceneFrame(*view).height, screen.height) << name;
    }
    // The whole chord chart fits the screen.
    const auto chords = storyboard->instantiateViewControllerWithIdentifier("ChordsViewController");
    forEachView(chords->view(), [&](platform::View& view) {
        EXPECT_LE(sceneFrame(view).y + sceneFrame(view).height, screen.height + 1e-9) << view.name();
    });
    const auto flatOrSharp = std::dynamic_pointer_cast<platform::Button>(findView(chords->view(), "buttonFlatOrSharp"));
    ASSERT_NE(flatOrSharp, nullptr);
    ASSERT_NE(flatOrSharp->imageForState(platform::ControlState::Normal), nullptr);
    EXPECT_EQ(flatOrSharp->imageForState(platform::ControlState::Normal)->name, screen.sharpFlatPicture);
}

TEST_P(LayoutDocumentTest, StartsWithTheInitialStateOfTheScreens) {
    const auto storyboard = load();
    ASSERT_NE(storyboard, nullptr);
    const auto tuner = recording(storyboard->instantiateInitialViewController());
    const auto slider = std::dynamic_pointer_cast<platform::Slider>(tuner->outletView("micSensitivitySlider"));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->minimumValue(), 0.0f);
    EXPECT_EQ(slider->maximumValue(), 10.0f);
    EXPECT_EQ(slider->value(), 5.0f);
    for (const char* name : {"soundNotificationSwitch", "stringSoundsSwitch", "freqChartSwitch"}) {
        const auto toggle = std::dynamic_pointer_cast<platform::Switch>(tuner->outletView(name));
        ASSERT_NE(toggle, nullptr);
        EXPECT_TRUE(toggle->isOn()) << name;
    }
    const auto chart = std::dynamic_pointer_cast<platform::ImageView>(tuner->outletView("freqChart"));
    ASSERT_NE(chart->image(), nullptr);
    EXPECT_EQ(chart->image()->name, "freqchart.png");
    EXPECT_TRUE(findView(tuner->view(), "tuningForkPanel")->isHidden());
    // The guide's needle runs from -50 to +50 cents, marks the in-tune zone,
    // has a name a screen reader says, and starts with no value.
    const auto needle = std::dynamic_pointer_cast<platform::Gauge>(tuner->outletView("guideNeedle"));
    ASSERT_NE(needle, nullptr);
    EXPECT_EQ(needle->minimumValue(), -50.0f);
    EXPECT_EQ(needle->maximumValue(), 50.0f);
    EXPECT_EQ(needle->zone(), 5.0f);
    EXPECT_EQ(needle->accessibilityLabel(), "Tuning needle");
    EXPECT_FALSE(needle->value());
    EXPECT_EQ(std::dynamic_pointer_cast<platform::Label>(tuner->outletView("guideCourse"))->text(), "—");

    const auto chords = recording(storyboard->instantiateViewControllerWithIdentifier("ChordsViewController"));
    EXPECT_EQ(chords->outletView("selectRootChord")->tag(), 1);
    EXPECT_EQ(chords->outletView("selectVariant")->tag(), 2);
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, LayoutDocumentTest, ::testing::ValuesIn(kScreens),
                         [](const auto& tested) { return tested.param.layout; });

class LayoutNavigationTest : public testing_support::PlainPlatformTest {
protected:
    void SetUp() override {
        PlainPlatformTest::SetUp();
        storyboard = platform::Storyboard::storyboardWithName("Main_iPhone12Pro",
                                                              layout_testing::recordingControllerClasses());
        ASSERT_NE(storyboard, nullptr);
        tuner = recording(storyboard->instantiateInitialViewController());
        ASSERT_NE(tuner, nullptr);
    }

    // The control that navigates to or from the chord chart: the one whose only
    // target is navigation, found by its title.
    std::shared_ptr<platform::Button> buttonTitled(const std::shared_ptr<platform::View>& root, const std::string& title) {
        std::shared_ptr<platform::Button> found;
        forEachView(root, [&](platform::View& view) {
            auto* button = dynamic_cast<platform::Button*>(&view);
            if (button && button->title() == title) {
                found = std::static_pointer_cast<platform::Button>(button->shared_from_this());
            }
        });
        return found;
    }

    std::shared_ptr<platform::Storyboard> storyboard;
    std::shared_ptr<RecordingController> tuner;
};

TEST_F(LayoutNavigationTest, ChordChartOpensOverTheTunerAndGoesBack) {
    EXPECT_EQ(tuner->loads, 1);
    EXPECT_EQ(tuner->appearances, 0);
    storyboard.reset();  // the screens keep their document

    buttonTitled(tuner->view(), "Chords ›")->userTap();
    const auto chords = recording(tuner->presentedViewController());
    ASSERT_NE(chords, nullptr);
    EXPECT_EQ(chords->presentingViewController(), tuner.get());
    EXPECT_EQ(chords->loads, 1);
    EXPECT_EQ(chords->appearances, 1);
    EXPECT_NE(chords->outletView("selectRootChord"), nullptr);

    const std::weak_ptr<RecordingController> gone = chords;
    buttonTitled(chords->view(), "‹ Tuner")->userTap();
    EXPECT_EQ(tuner->presentedViewController(), nullptr);
    EXPECT_EQ(tuner->appearances, 1) << "the tuner appears again when the chord chart goes";
    EXPECT_EQ(tuner->loads, 1);

    buttonTitled(tuner->view(), "Chords ›")->userTap();
    const auto again = recording(tuner->presentedViewController());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->loads, 1) << "each visit makes a new chord chart";
}

TEST_F(LayoutNavigationTest, TuningForkPanelOpensAndClosesWithItsSoundActions) {
    const auto panel = findView(tuner->view(), "tuningForkPanel");
    const auto forkButton = std::dynamic_pointer_cast<platform::Button>(tuner->outletView("tuningForkButton"));
    ASSERT_NE(forkButton, nullptr);

    forkButton->userTap();
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(tuner->received, (std::vector<std::string>{"disableTemporarilySoundConfirmation:"}));

    tuner->received.clear();
    buttonTitled(panel, "Done")->userTap();
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(tuner->received, (std::vector<std::string>{"stopFreqPlay:", "enableSoundConfirmation:"}));
}

TEST_F(LayoutNavigationTest, ControlsKnowTheActionsTheySendAndWhichOnesCloseAPanelOrLeave) {
    const auto stops = platform::controlsSending(tuner->view(), "stopFreqPlay:");
    ASSERT_EQ(stops.size(), 2u) << "Done and Stop";
    EXPECT_EQ(stops[0], buttonTitled(tuner->view(), "Done"));
    EXPECT_TRUE(stops[0]->closesScreen());
    EXPECT_FALSE(stops[1]->closesScreen()) << "Stop leaves the panel open";
    EXPECT_EQ(platform::controlsSending(tuner->view(), "play2ndStringSound:").size(), 1u);
    EXPECT_TRUE(platform::controlsSending(tuner->view(), "noSuchAction:").empty());
    EXPECT_FALSE(buttonTitled(tuner->view(), "Chords ›")->closesScreen()) << "presenting is no way back";

    buttonTitled(tuner->view(), "Chords ›")->userTap();
    EXPECT_TRUE(buttonTitled(tuner->presentedViewController()->view(), "‹ Tuner")->closesScreen());
}

// Small documents that show one fault each.
class LayoutFaultTest : public testing_support::PlainPlatformTest {
protected:
    std::shared_ptr<platform::Storyboard> parse(const std::string& scenes, const std::string& initial = "A") {
        return platform::Storyboard::fromText("Fixture", R"({"initialScene": ")" + initial + R"(", "scenes": )" + scenes + "}",
                                              layout_testing::recordingControllerClasses());
    }
    static std::string tunerScene(const std::string& elements) {
        return R"([{"id": "A", "class": "ViewController", "view": {"type": "View", "frame": [0, 0, 10, 10], "subviews": [)" +
               elements + "]}}]";
    }
};

TEST_F(LayoutFaultTest, MalformedDocumentsAreRefusedWithTheirFault) {
    const struct {
        std::string scenes;
        std::string fault;
    } cases[] = {
        {"[1, 2", "not a JSON object"},
        {"[]", "expected a list of scenes"},
        {tunerScene(R"({"type": "Knob", "frame": [0, 0, 1, 1]})"), "unknown element type \"Knob\""},
        {tunerScene(R"({"type": "Label"})"), "missing \"frame\""},
        {tunerScene(R"({"type": "Label", "frame": [0, 0, 1]})"), "frame: expected 4 numbers"},
        {tunerScene(R"({"type": "Label", "frame": [0, 0, 1, 1], "actions": ["playA440Hz:"]})"),
         "only a Button, Switch or Slider sends actions"},
        {tunerScene(R"({"type": "Label", "frame": [0, 0, 1, 1], "keys": ["1"]})"), "or has keys"},
        {tunerScene(R"({"type": "Button", "frame": [0, 0, 1, 1], "keys": "1"})"), "keys: expected a list"},
        {tunerScene(R"({"type": "Label", "name": "x", "frame": [0, 0, 1, 1]}, {"type": "Label", "name": "x", "frame": [0, 0, 1, 1]})"),
         "two elements are named \"x\""},
        {tunerScene(R"({"type": "Button", "frame": [0, 0, 1, 1], "navigation": {"show": "nowhere"}})"),
         "no element named \"nowhere\" to show or hide"},
        {tunerScene(R"({"type": "Button", "frame": [0, 0, 1, 1], "navigation": {"present": "B"}})"),
         "no scene \"B\" to present"},
        {tunerScene(R"({"type": "Button", "frame": [0, 0, 1, 1], "navigation": {"jump": "A"}})"),
         "navigation: expected one of"},
        {tunerScene(R"({"type": "Label", "frame": [0, 0, 1, 1], "style": {"align": "middle"}})"),
         "style.align: expected left, center or right"},
        {tunerScene(R"({"type": "ImageView", "frame": [0, 0, 1, 1], "imageByHeight": ["flat.png"]})"),
         "imageByHeight: expected {\"height\": picture, ...}"},
        {tunerScene(R"({"type": "ImageView", "frame": [0, 0, 1, 1], "imageByHeight": {"tall": "flat.png"}})"),
         "imageByHeight: \"tall\" is not a height in points"},
        {tunerScene(R"({"type": "ImageView", "frame": [0, 0, 1, 1], "imageByHeight": {"1376": 5}})"),
         "imageByHeight.1376: expected a picture name"},
    };
    for (const auto& fault : cases) {
        log->clear();
        EXPECT_EQ(parse(fault.scenes), nullptr) << fault.scenes;
        ASSERT_EQ(log->lines().size(), 1u) << fault.scenes;
        EXPECT_NE(log->lines()[0].find("Layout Fixture is malformed: "), std::string::npos) << log->lines()[0];
        EXPECT_NE(log->lines()[0].find(fault.fault), std::string::npos) << log->lines()[0];
    }
    EXPECT_EQ(parse(tunerScene(""), "Z"), nullptr);
    EXPECT_TRUE(log->contains("Layout Fixture is malformed: initialScene: no scene \"Z\""));
}

TEST_F(LayoutFaultTest, MissingDocumentsAndClassesAreReported) {
    EXPECT_EQ(platform::Storyboard::storyboardWithName("Main_Nothing", layout_testing::recordingControllerClasses()),
              nullptr);
    EXPECT_EQ(linesContaining(*log, "Layout Main_Nothing not found in "), 1u);

    const auto storyboard = platform::Storyboard::fromText(
        "Fixture", R"({"initialScene": "A", "scenes": [{"id": "A", "class": "Nobody", "view": {"type": "View", "frame": [0, 0, 1, 1]}}]})",
        layout_testing::recordingControllerClasses());
    ASSERT_NE(storyboard, nullptr);
    EXPECT_EQ(storyboard->instantiateInitialViewController(), nullptr);
    EXPECT_TRUE(log->contains("Layout Fixture, scene A: no controller class Nobody"));
    EXPECT_EQ(storyboard->instantiateViewControllerWithIdentifier("Q"), nullptr);
    EXPECT_TRUE(log->contains("Layout Fixture has no scene Q"));
}

TEST_F(LayoutFaultTest, WhatDoesNotBindIsReportedOnOneLinePerScene) {
    // Only a few of the tuner's elements, one of the wrong kind, one action the
    // controller lacks and a picture that does not exist.
    const auto storyboard = parse(tunerScene(R"(
        {"type": "Label", "name": "noteDisplay", "frame": [0, 0, 1, 1]},
        {"type": "Label", "name": "LEDDisplay", "frame": [0, 0, 1, 1]},
        {"type": "ImageView", "name": "freqChart", "frame": [0, 0, 1, 1], "image": "nothing.png"},
        {"type": "Button", "name": "go", "frame": [0, 0, 1, 1], "actions": ["playA440Hz:", "fly:"]})"));
    ASSERT_NE(storyboard, nullptr);
    const auto tuner = recording(storyboard->instantiateInitialViewController());
    ASSERT_NE(tuner, nullptr);
    EXPECT_EQ(tuner->loads, 1) << "a scene that does not bind fully still loads";
    EXPECT_NE(tuner->outletView("noteDisplay"), nullptr);
    ASSERT_EQ(linesContaining(*log, "does not bind"), 1u);
    const std::string line = log->lines().back();
    EXPECT_EQ(line.rfind("Layout Fixture, scene A does not bind: ", 0), 0u) << line;
    for (const char* part : {"outlet LEDDisplay is not of the element's kind", "picture nothing.png not found",
                             "no action fly: for go", "outlets not in the layout: LEDDisplay128, aboutCongratsMessage",
                             "actions no control sends: chooseCourse:, disableTemporarilySoundConfirmation:"}) {
        EXPECT_NE(line.find(part), std::string::npos) << part << " in " << line;
    }
    EXPECT_EQ(line.find("playA440Hz:,"), std::string::npos) << "a sent action is bound";
}

TEST_F(LayoutFaultTest, OmittedOutletsAreNotReported) {
    std::string elements;
    for (const auto& outlet : layout_testing::tunerOutlets()) {
        if (std::string(outlet.name) == "tunedString") continue;
        static const char* const kTypes[] = {"Label", "ImageView", "Button", "Switch", "Slider", "PickerView",
                                            "Gauge", "Trace"};
        elements += std::string(elements.empty() ? "" : ",") + R"({"type": ")" + kTypes[static_cast<int>(outlet.kind)] +
                    R"(", "name": ")" + outlet.name + R"(", "frame": [0, 0, 1, 1]})";
    }
    std::string actions;
    for (const auto& action : layout_testing::tunerActions()) actions += (actions.empty() ? "\"" : ", \"") + action + "\"";
    elements += R"(, {"type": "Button", "frame": [0, 0, 1, 1], "actions": [)" + actions + "]}";
    const std::string scenes = R"([{"id": "A", "class": "ViewController", "omits": ["tunedString"], "view": {"type": "View", "frame": [0, 0, 10, 10], "subviews": [)" +
                               elements + "]}}]";
    const auto storyboard = parse(scenes);
    ASSERT_NE(storyboard, nullptr);
    ASSERT_NE(storyboard->instantiateInitialViewController(), nullptr);
    EXPECT_EQ(linesContaining(*log, "does not bind"), 0u) << ::testing::PrintToString(log->lines());
}

TEST_F(LayoutFaultTest, APictureMayDifferOnScreensOfSomeHeights) {
    const auto storyboard = parse(tunerScene(
        R"({"type": "ImageView", "name": "LEDDisplay", "frame": [0, 0, 1, 1], "image": "flatpro.png",
            "imageByHeight": {"1376": "flat.png", "1112.5": "sharp.png"}})"));
    ASSERT_NE(storyboard, nullptr);
    const struct {
        double height;
        const char* picture;
    } cases[] = {{1366, "flatpro.png"}, {1376, "flat.png"}, {1112.5, "sharp.png"}, {1112, "flatpro.png"}};
    for (const auto& c : cases) {
        setScreen(platform::Device::kIdiomTablet, c.height);
        const auto tuner = recording(storyboard->instantiateInitialViewController());
        const auto lamp = std::dynamic_pointer_cast<platform::ImageView>(tuner->outletView("LEDDisplay"));
        ASSERT_NE(lamp, nullptr);
        ASSERT_NE(lamp->image(), nullptr) << c.height;
        EXPECT_EQ(lamp->image()->name, c.picture) << c.height;
    }
}

TEST_F(LayoutFaultTest, TextsAreShownInTheLanguageOfTheMainTable) {
    const std::string scene = tunerScene(
        R"({"type": "Label", "name": "noteDisplay", "frame": [0, 0, 1, 1], "text": "Tuning fork"},
           {"type": "Button", "frame": [0, 0, 1, 1], "title": "Done", "actions": ["playA440Hz:"]},
           {"type": "Label", "frame": [0, 0, 1, 1], "text": "Nothing to translate"})");
    for (const auto& [language, fork, done] :
         {std::tuple{"es", "Diapasón", "Listo"}, {"en", "Tuning fork", "Done"}, {"de", "Tuning fork", "Done"}}) {
        platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(testing_support::resourcesFolder(), language));
        const auto tuner = recording(parse(scene)->instantiateInitialViewController());
        std::vector<std::string> texts;
        for (const auto& view : tuner->view()->subviews()) {
            if (const auto label = std::dynamic_pointer_cast<platform::Label>(view)) texts.push_back(label->text());
            if (const auto button = std::dynamic_pointer_cast<platform::Button>(view)) texts.push_back(button->title());
        }
        EXPECT_EQ(texts, (std::vector<std::string>{fork, done, "Nothing to translate"})) << language;
    }
}

TEST_F(LayoutFaultTest, ElementsCarryTheirLookForFrontends) {
    const auto storyboard = parse(tunerScene(
        R"({"type": "Label", "name": "noteDisplay", "frame": [1, 2, 3, 4], "text": "A4", "hidden": true,
            "style": {"font": 56, "bold": true, "align": "center", "color": "#ffffff", "background": "#000000", "radius": 8, "wrap": true,
                      "collapse": true}})"));
    ASSERT_NE(storyboard, nullptr);
    const auto tuner = recording(storyboard->instantiateInitialViewController());
    const auto note = std::dynamic_pointer_cast<platform::Label>(tuner->outletView("noteDisplay"));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), "A4");
    EXPECT_TRUE(note->isHidden());
    EXPECT_EQ(note->frame(), (platform::Rect{1, 2, 3, 4}));
    const platform::ElementStyle* style = platform::layoutStyleOf(*note);
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->fontSize, 56.0);
    EXPECT_TRUE(style->bold);
    EXPECT_EQ(style->align, platform::ElementStyle::Align::Center);
    EXPECT_TRUE(style->wraps);
    EXPECT_EQ(style->color, "#ffffff");
    EXPECT_EQ(style->background, "#000000");
    EXPECT_EQ(style->cornerRadius, 8.0);
    EXPECT_TRUE(style->collapses);
    EXPECT_EQ(platform::layoutStyleOf(platform::Label()), nullptr);
}

}  // namespace
