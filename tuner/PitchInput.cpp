#include "tuner/PitchInput.h"

#include "pitch/PitchListener.h"

namespace tuner {
namespace {

// Asks for the detector at every reading, so that nothing is made before the
// screen starts listening.
class SharedListenerInput final : public PitchInput {
public:
    void listen() override { pitch::PitchListener::sharedListener()->listen(); }
    float averagePower() override { return pitch::PitchListener::sharedListener()->averagePower(); }
    float frequency() override { return pitch::PitchListener::sharedListener()->frequency(); }
};

}  // namespace

std::shared_ptr<PitchInput> PitchInput::sharedListener() {
    static const auto input = std::make_shared<SharedListenerInput>();
    return input;
}

}  // namespace tuner
