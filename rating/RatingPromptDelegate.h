#pragma once
// What the owner of the rating prompt may hear from it. Every operation is
// optional: one left empty is not implemented, and the prompt asks before it
// calls, so an empty one is simply not called.

#include <functional>

namespace rating {

class RatingPrompt;

struct RatingPromptDelegate {
    // Before a prompt; answering false vetoes it.
    std::function<bool(RatingPrompt& prompt)> ratingPromptShouldDisplayAlert;
    // After the prompt was shown or handed to the platform's review request.
    std::function<void(RatingPrompt& prompt)> ratingPromptDidDisplayAlert;
    // After the cancel, rate or remind-later button was handled.
    std::function<void(RatingPrompt& prompt)> ratingPromptDidDeclineToRate;
    std::function<void(RatingPrompt& prompt)> ratingPromptDidOptToRate;
    std::function<void(RatingPrompt& prompt)> ratingPromptDidOptToRemindLater;
    // Before the review store's product sheet is presented.
    std::function<void(RatingPrompt& prompt, bool animated)> ratingPromptWillPresentModalView;
    // After the product sheet was dismissed; told by the class, not an instance.
    std::function<void(bool animated)> ratingPromptDidDismissModalView;
};

}  // namespace rating
