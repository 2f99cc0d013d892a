#include "sound/SettingSwitch.h"

#include "platform/core/Log.h"
#include "platform/store/UserDefaults.h"

namespace sound {

void applySettingSwitch(platform::Control* sender, bool& flag, const char* key) {
    const auto* settingSwitch = dynamic_cast<const platform::Switch*>(sender);
    if (settingSwitch == nullptr) return;
    flag = settingSwitch->isOn();
    const auto defaults = platform::UserDefaults::standardUserDefaults();
    defaults->setBool(flag, key);
    defaults->synchronize();
    if (flag) {
        platform::NSLog("Has encendido el Switch, valor de la variable = %d", flag);
    } else {
        platform::NSLog("Has apagado el Switch, valor de la variable = %d", flag);
    }
}

}  // namespace sound
