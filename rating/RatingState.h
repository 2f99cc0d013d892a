#pragma once
// The rating prompt's memory of the running application version: the uses
// and significant events counted, the first-use date and the user's answers,
// kept in the settings store under the seven keys of RatingPromptKeys.h; and
// the judgement whether it has been used long enough to ask. A new version
// starts the seven keys afresh.
//
// Any thread: each single read or write of the settings store is whole, and
// only the launch counts, once per launch, so two countings never overlap.

#include "rating/PromptSettings.h"

namespace rating {

class RatingState {
public:
    // The settings (thresholds, debug mode) must outlive this state.
    explicit RatingState(const PromptSettings& settings) : settings_(settings) {}

    // Count one use / one significant event of the running version.
    void incrementUseCount();
    void incrementSignificantEventCount();

    // Days, uses, events and the reminder all passed (always in debug mode).
    bool ratingConditionsHaveBeenMet() const;

    // The user's answers for this version.
    bool userHasDeclinedToRate() const;
    bool userHasRatedCurrentVersion() const;
    void recordDeclinedToRate();
    void recordRatedCurrentVersion();
    // The remind-later button, chosen now.
    void recordReminderRequest();

private:
    // The state a new version starts from, apart from the counts' common resets.
    struct VersionStart {
        double firstUseDate;
        int64_t useCount;
        int64_t significantEventCount;
    };
    void incrementCount(const char* counterKey, const char* debugFormat, const VersionStart& start);

    const PromptSettings& settings_;
};

}  // namespace rating
