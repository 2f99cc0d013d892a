#include "tuner/MatchTable.h"

namespace tuner {

const MatchWindow* matchFrequency(double frequency) {
    for (const MatchWindow& window : kMatchTable) {
        if (window.lower <= frequency && frequency <= window.upper) return &window;
    }
    return nullptr;
}

}  // namespace tuner
