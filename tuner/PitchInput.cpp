#include "tuner/PitchInput.h"

#include "pitch/SCListener.h"

namespace tuner {
namespace {

// Asks for the detector at every reading, so that nothing is made before the
// screen starts listening.
class SharedListenerInput final : public PitchInput {
public:
    void listen() override { pitch::SCListener::sharedListener()->listen(); }
    float averagePower() override { return pitch::SCListener::sharedListener()->averagePower(); }
    float frequency() override { return pitch::SCListener::sharedListener()->frequency(); }
};

}  // namespace

std::shared_ptr<PitchInput> PitchInput::sharedListener() {
    static const auto input = std::make_shared<SharedListenerInput>();
    return input;
}

}  // namespace tuner
