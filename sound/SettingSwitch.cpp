#include "sound/SettingSwitch.h"

#include "platform/core/Log.h"
#include "platform/store/UserDefaults.h"

namespace sound {

void applySettingSwitch(const platform::Switch& sender, bool& flag, const char* key) {
    flag = sender.isOn();
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
