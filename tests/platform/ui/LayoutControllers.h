#pragma once
// Stand-ins for the two screen controllers that layout documents name: they
// declare the outlets and actions of the real screens by name, keep what the
// loader binds, and record the actions they receive and their life-cycle.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/LayoutLoader.h"
#include "platform/ui/ViewController.h"

namespace layout_testing {

enum class Kind { Label, ImageView, Button, Switch, Slider, PickerView, Gauge, Trace };

struct OutletName {
    const char* name;
    Kind kind;
};

// The tuner screen ("ViewController").
const std::vector<OutletName>& tunerOutlets();
const std::vector<std::string>& tunerActions();
// The chord chart ("ChordsViewController").
const std::vector<OutletName>& chordOutlets();
const std::vector<std::string>& chordActions();

class RecordingController : public platform::ViewController {
public:
    RecordingController(const std::vector<OutletName>& outletNames, const std::vector<std::string>& actionNames)
        : outletNames_(outletNames), actionNames_(actionNames) {}

    std::map<std::string, platform::OutletBinder> outlets() override;
    std::map<std::string, platform::Control::Action> actions() override;
    void viewDidLoad() override { ++loads; }
    void viewWillAppear(bool) override { ++appearances; }

    // The bound element of an outlet; null when unbound.
    std::shared_ptr<platform::View> outletView(const std::string& name) const;

    std::map<std::string, std::shared_ptr<platform::View>> bound;
    std::vector<std::string> received;  // selectors, in order of arrival
    int loads = 0;
    int appearances = 0;

private:
    const std::vector<OutletName>& outletNames_;
    const std::vector<std::string>& actionNames_;
};

// "ViewController" and "ChordsViewController" made as recording controllers.
platform::ControllerFactories recordingControllerClasses();

// The thirteen layout documents by name.
const std::vector<std::string>& layoutNames();

// Loads the initial scene of layout `name` with recording controllers and
// installs it in a new key window the size of the main screen, as the
// application's delegate does; null when the layout does not load.
std::shared_ptr<RecordingController> installLayout(const std::string& name);
// The same with the controllers `classes` makes; null when the layout does not load.
std::shared_ptr<platform::ViewController> installLayout(const std::string& name,
                                                        const platform::ControllerFactories& classes);

// The first view named `name` under `root` (root included); null when none.
std::shared_ptr<platform::View> findView(const std::shared_ptr<platform::View>& root, const std::string& name);

}  // namespace layout_testing
