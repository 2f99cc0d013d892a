#include "tuner/TuningLoop.h"

#include "platform/core/Log.h"

namespace tuner {
namespace {

// Above this frequency an unmatched tick shows the last match's texts instead
// of the measured value.
constexpr float kLastMatchAbove = 700.0f;

}  // namespace

TuningLoop::TuningLoop(std::shared_ptr<PitchInput> input,
                       std::shared_ptr<const sound::PitchConfirmations> confirmations)
    : input_(std::move(input)), confirmations_(std::move(confirmations)) {}

TickDisplay TuningLoop::tick(const LevelLimits& limits) {
    const float level = input_->averagePower();
    const float frequency = input_->frequency();
    TickDisplay shown;
    if (static_cast<double>(level) < limits.bottom) {
        shown.gate = TickDisplay::Gate::Cleared;
        return shown;
    }
    if (static_cast<double>(level) <= limits.top) return shown;

    shown.gate = TickDisplay::Gate::Measured;
    // With a decimal point whatever the user's locale, as beside "440Hz".
    const platform::LogArg measured[] = {static_cast<double>(frequency)};
    shown.measuredText = platform::formatMessage("%.1fHz", measured);
    if (const MatchWindow* match = matchFrequency(static_cast<double>(frequency))) {
        shown.match = match;
        lastNoteName_ = match->note;
        lastFrequencyLabel_ = match->frequencyText;
        return shown;
    }
    if (frequency > kLastMatchAbove) {
        shown.showsLastMatch = true;
        shown.lastFrequencyLabel = lastFrequencyLabel_;
        shown.lastNoteName = lastNoteName_;
    }
    shown.asksForReview = confirmations_->everyPitchTunedOnce();
    return shown;
}

}  // namespace tuner
