#pragma once
// What the owner of the rating prompt may hear from it. Every operation is
// optional: one left empty is not implemented, and the prompt asks before it
// calls, so an empty one is simply not called.

#include <functional>

namespace rating {

class Appirater;

struct AppiraterDelegate {
    // Before a prompt; answering false vetoes it.
    std::function<bool(Appirater& appirater)> appiraterShouldDisplayAlert;
    // After the prompt was shown or handed to the platform's review request.
    std::function<void(Appirater& appirater)> appiraterDidDisplayAlert;
    // After the cancel, rate or remind-later button was handled.
    std::function<void(Appirater& appirater)> appiraterDidDeclineToRate;
    std::function<void(Appirater& appirater)> appiraterDidOptToRate;
    std::function<void(Appirater& appirater)> appiraterDidOptToRemindLater;
    // Before the store's product sheet is presented.
    std::function<void(Appirater& appirater, bool animated)> appiraterWillPresentModalView;
    // After the product sheet was dismissed; told by the class, not an instance.
    std::function<void(bool animated)> appiraterDidDismissModalView;
};

}  // namespace rating
