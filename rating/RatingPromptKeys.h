#pragma once
// The rating prompt's keys in the settings store. They hold the state of one
// application version; a new version starts them afresh.

namespace rating {

// Text: the application version being tracked (the bundle's "CFBundleVersion").
inline constexpr const char* kRatingPromptCurrentVersion = "kRatingPromptCurrentVersion";
// Seconds since 1970 of the tracked version's first use; 0.0 while unset.
inline constexpr const char* kRatingPromptFirstUseDate = "kRatingPromptFirstUseDate";
// Integer: uses counted for the tracked version.
inline constexpr const char* kRatingPromptUseCount = "kRatingPromptUseCount";
// Integer: significant events counted for the tracked version.
inline constexpr const char* kRatingPromptSignificantEventCount = "kRatingPromptSignificantEventCount";
// Boolean: the user chose to rate this version, or the platform's review request was made.
inline constexpr const char* kRatingPromptRatedCurrentVersion = "kRatingPromptRatedCurrentVersion";
// Boolean: the user chose the cancel button for this version.
inline constexpr const char* kRatingPromptDeclinedToRate = "kRatingPromptDeclinedToRate";
// Seconds since 1970 when the user chose the remind-later button; 0.0 means never.
inline constexpr const char* kRatingPromptReminderRequestDate = "kRatingPromptReminderRequestDate";

}  // namespace rating
