#pragma once
// The tuner screen as the program shows it: the tuner's controller plus the
// buttons that leave the program (the maker's site and the store pages).

#include <map>
#include <string>

#include "tuner/ViewController.h"

namespace app {

class TunerScreen : public tuner::ViewController {
public:
    std::map<std::string, platform::Control::Action> actions() override;
};

}  // namespace app
