#include "sound/PitchConfirmations.h"

#include <algorithm>

namespace sound {
namespace {

bool isPitch(size_t k) { return k >= 1 && k <= kPitchCount; }

}  // namespace

std::shared_ptr<PitchConfirmations> PitchConfirmations::shared() {
    static const auto confirmations = std::make_shared<PitchConfirmations>();
    return confirmations;
}

bool PitchConfirmations::everyPitchTunedOnce() const {
    return std::all_of(stringTunedOnce_.begin(), stringTunedOnce_.end(), [](bool tuned) { return tuned; });
}

void PitchConfirmations::setTunedOnce(size_t k) {
    if (isPitch(k)) stringTunedOnce_[k - 1] = true;
}

void PitchConfirmations::setBeepPlayed(size_t k) {
    if (isPitch(k)) beepPlayed_[k - 1] = true;
}

}  // namespace sound
