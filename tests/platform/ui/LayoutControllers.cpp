#include "tests/platform/ui/LayoutControllers.h"

#include "platform/core/Device.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gauge.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/Trace.h"

namespace layout_testing {
namespace {

bool hasKind(const platform::View& view, Kind kind) {
    switch (kind) {
        case Kind::Label: return dynamic_cast<const platform::Label*>(&view) != nullptr;
        case Kind::ImageView: return dynamic_cast<const platform::ImageView*>(&view) != nullptr;
        case Kind::Button: return dynamic_cast<const platform::Button*>(&view) != nullptr;
        case Kind::Switch: return dynamic_cast<const platform::Switch*>(&view) != nullptr;
        case Kind::Slider: return dynamic_cast<const platform::Slider*>(&view) != nullptr;
        case Kind::PickerView: return dynamic_cast<const platform::PickerView*>(&view) != nullptr;
        case Kind::Gauge: return dynamic_cast<const platform::Gauge*>(&view) != nullptr;
        case Kind::Trace: return dynamic_cast<const platform::Trace*>(&view) != nullptr;
    }
    return false;
}

}  // namespace

const std::vector<OutletName>& tunerOutlets() {
    static const std::vector<OutletName> names = {
        {"currentTuningName", Kind::Label},      {"noteDisplay", Kind::Label},
        {"freq_label", Kind::Label},             {"aboutCongratsMessage", Kind::Label},
        {"aboutMsg2", Kind::Label},              {"tfnoteDisplay", Kind::Label},
        {"tfFreqLabel", Kind::Label},            {"micSensitivityLabel", Kind::Label},
        {"soundNotificationLabel", Kind::Label}, {"stringSoundsLabel", Kind::Label},
        {"frequencyChartLabel", Kind::Label},    {"tuningForkButton", Kind::Button},
        {"LEDDisplay128", Kind::ImageView},      {"LEDDisplay", Kind::ImageView},
        {"tunedString", Kind::ImageView},        {"tunedString5", Kind::ImageView},
        {"tunedStringiPad", Kind::ImageView},    {"freqChart", Kind::ImageView},
        {"micSensitivitySlider", Kind::Slider},  {"soundNotificationSwitch", Kind::Switch},
        {"stringSoundsSwitch", Kind::Switch},    {"freqChartSwitch", Kind::Switch},
        {"tuningForkHint", Kind::Label},         {"tuningForkStopButton", Kind::Button},
        {"guideCourse", Kind::Label},            {"guideCents", Kind::Label},
        {"guideDirection", Kind::Label},         {"guideNeedle", Kind::Gauge},
        {"guideTrace", Kind::Trace},             {"guidePair", Kind::Label},
        {"guidePairHint", Kind::Label},
    };
    return names;
}

const std::vector<std::string>& tunerActions() {
    static const std::vector<std::string> names = {
        "micSensitivity:",       "toggleFreqChart:",     "playE659_3Hz:",
        "playA440Hz:",           "playE329_6Hz:",        "playC523_2Hz:",
        "playG392Hz:",           "stopFreqPlay:",        "disableTemporarilySoundConfirmation:",
        "enableSoundConfirmation:", "play1stStringSound:", "play2ndStringSound:",
        "play3rdStringSound:",   "play4thStringSound:",  "play5thStringSound:",
        "play6thStringSound:",   "soundNotificationAction:", "toggleStringSounds:",
        "redirectToTarveloLabs:", "reviewPallqaTuner:",   "chooseCourse:",
        // The store pages of the maker's other applications.
        "openGuitarTuner:",      "openUkuleleTuner:",    "openViolinTuner:",
        "openBassTuner:",        "openMandolinTuner:",   "openBanjoTuner:",
        "openCelloTuner:",       "openHarpTuner:",       "openChromaticTuner:",
        "openMetronome:",        "openChordFinder:",     "openEarTrainer:",
    };
    return names;
}

const std::vector<OutletName>& chordOutlets() {
    static const std::vector<OutletName> names = [] {
        std::vector<OutletName> list = {{"chordsTitle1", Kind::Label},         {"chordsTitle2", Kind::Label},
                                        {"buttonFlatOrSharp", Kind::Button},   {"selectRootChord", Kind::PickerView},
                                        {"selectVariant", Kind::PickerView},   {"chordDisplay", Kind::Label},
                                        {"rightNumberFr1", Kind::ImageView},   {"rightNumberFr2", Kind::ImageView},
                                        {"leftNumberFr2", Kind::ImageView}};
        static const char* const kStatus[] = {"string1Status", "string2Status", "string3Status", "string4Status",
                                              "string5Status"};
        static const char* const kDots[] = {"Str1Fr1", "Str1Fr2", "Str1Fr3", "Str1Fr4", "Str2Fr1", "Str2Fr2",
                                            "Str2Fr3", "Str2Fr4", "Str3Fr1", "Str3Fr2", "Str3Fr3", "Str3Fr4",
                                            "Str4Fr1", "Str4Fr2", "Str4Fr3", "Str4Fr4", "Str5Fr1", "Str5Fr2",
                                            "Str5Fr3", "Str5Fr4"};
        static const char* const kBars[] = {"BarFr1", "BarFr2", "BarFr3", "BarFr4"};
        for (const char* name : kStatus) list.push_back({name, Kind::ImageView});
        for (const char* name : kDots) list.push_back({name, Kind::ImageView});
        for (const char* name : kBars) list.push_back({name, Kind::ImageView});
        return list;
    }();
    return names;
}

const std::vector<std::string>& chordActions() {
    static const std::vector<std::string> names = {"toggleSharpOfFlat:"};
    return names;
}

std::map<std::string, platform::OutletBinder> RecordingController::outlets() {
    std::map<std::string, platform::OutletBinder> binders;
    for (const auto& outlet : outletNames_) {
        binders[outlet.name] = [this, outlet](const std::shared_ptr<platform::View>& view) {
            if (!hasKind(*view, outlet.kind)) return false;
            bound[outlet.name] = view;
            return true;
        };
    }
    return binders;
}

std::map<std::string, platform::Control::Action> RecordingController::actions() {
    std::map<std::string, platform::Control::Action> actions;
    for (const auto& selector : actionNames_) {
        actions[selector] = [this, selector](platform::Control*) { received.push_back(selector); };
    }
    return actions;
}

std::shared_ptr<platform::View> RecordingController::outletView(const std::string& name) const {
    auto found = bound.find(name);
    return found == bound.end() ? nullptr : found->second;
}

platform::ControllerFactories recordingControllerClasses() {
    return {{"ViewController", [] { return std::make_shared<RecordingController>(tunerOutlets(), tunerActions()); }},
            {"ChordsViewController",
             [] { return std::make_shared<RecordingController>(chordOutlets(), chordActions()); }}};
}

const std::vector<std::string>& layoutNames() {
    static const std::vector<std::string> names = {
        "Main_iPhone4s",    "Main_iPhone",         "Main_iPhone6",     "Main_iPhone6Plus", "Main_iPhoneX",
        "Main_iPhone12Pro", "Main_iPhoneXSMax",    "Main_iPhone12ProMax", "Main_iPad",     "Main_iPad_Pro_10_5",
        "Main_iPad_Mini6",  "Main_iPad_Pro_11",    "Main_iPad_Pro"};
    return names;
}

std::shared_ptr<RecordingController> installLayout(const std::string& name) {
    return std::dynamic_pointer_cast<RecordingController>(installLayout(name, recordingControllerClasses()));
}

std::shared_ptr<platform::ViewController> installLayout(const std::string& name,
                                                        const platform::ControllerFactories& classes) {
    const auto storyboard = platform::Storyboard::storyboardWithName(name, classes);
    if (!storyboard) return nullptr;
    auto controller = storyboard->instantiateInitialViewController();
    if (!controller) return nullptr;
    auto window = std::make_shared<platform::Window>(platform::Screen::mainBounds());
    window->setRootViewController(controller);
    window->makeKeyAndVisible();
    return controller;
}

std::shared_ptr<platform::View> findView(const std::shared_ptr<platform::View>& root, const std::string& name) {
    if (!root) return nullptr;
    if (root->name() == name) return root;
    for (const auto& child : root->subviews()) {
        if (auto found = findView(child, name)) return found;
    }
    return nullptr;
}

}  // namespace layout_testing
