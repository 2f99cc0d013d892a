#pragma once
// The five windows a measured frequency is matched against, one per open
// pitch of the five-course instrument: the equal-tempered pitch (A4 = 440 Hz)
// plus and minus 5 cents, written to three decimals. Both bounds belong to
// the window; the windows are tried in table order.

#include <array>
#include <string_view>

namespace tuner {

struct MatchWindow {
    double lower;                    // Hz
    double upper;                    // Hz
    std::string_view note;           // shown as the note name, e.g. "A4"
    int stringIndex;                 // the on-screen string that lights up
    std::string_view frequencyText;  // shown instead of the measured value
    int pitchNumber;                 // 1 to 5: which confirmation is due
};

inline constexpr std::array<MatchWindow, 5> kMatchTable{{
    {657.354, 661.162, "E5", 1, "659.3Hz", 1},
    {438.731, 441.273, "A4", 2, "440Hz", 2},
    {328.677, 330.581, "E4", 3, "329.6Hz", 3},
    {521.742, 524.765, "C5", 5, "523.2Hz", 4},
    {390.865, 393.129, "G4", 6, "392Hz", 5},
}};

// The first window holding `frequency`; null when none does.
const MatchWindow* matchFrequency(double frequency);

}  // namespace tuner
