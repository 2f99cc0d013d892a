#include "chords/RatingPromptRequest.h"

namespace chords {
namespace {

std::function<void()>& installedRequest() {
    static std::function<void()> request;
    return request;
}

}  // namespace

void setRatingPromptRequest(std::function<void()> request) { installedRequest() = std::move(request); }

void requestRatingPrompt() {
    if (const auto& request = installedRequest()) request();
}

}  // namespace chords
