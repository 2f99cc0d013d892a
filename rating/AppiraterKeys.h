#pragma once
// The rating prompt's keys in the settings store. They hold the state of one
// application version; a new version starts them afresh.

namespace rating {

// Text: the application version being tracked (the bundle's "CFBundleVersion").
inline constexpr const char* kAppiraterCurrentVersion = "kAppiraterCurrentVersion";
// Seconds since 1970 of the tracked version's first use; 0.0 while unset.
inline constexpr const char* kAppiraterFirstUseDate = "kAppiraterFirstUseDate";
// Integer: uses counted for the tracked version.
inline constexpr const char* kAppiraterUseCount = "kAppiraterUseCount";
// Integer: significant events counted for the tracked version.
inline constexpr const char* kAppiraterSignificantEventCount = "kAppiraterSignificantEventCount";
// Boolean: the user chose to rate this version, or the platform's review request was made.
inline constexpr const char* kAppiraterRatedCurrentVersion = "kAppiraterRatedCurrentVersion";
// Boolean: the user chose the cancel button for this version.
inline constexpr const char* kAppiraterDeclinedToRate = "kAppiraterDeclinedToRate";
// Seconds since 1970 when the user chose the remind-later button; 0.0 means never.
inline constexpr const char* kAppiraterReminderRequestDate = "kAppiraterReminderRequestDate";

}  // namespace rating
