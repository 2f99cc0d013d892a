#include "tuner/TuningValues.h"

#include "tuner/SensitivityTable.h"

namespace tuner {
namespace {

constexpr LevelLimits kStartLimits = *limitsForSensitivityLevel(kStartSensitivityLevel);

}  // namespace

double bottomLimit = kStartLimits.bottom;
double topLimit = kStartLimits.top;
int64_t micSensitivityValue = kStartSensitivityLevel;
std::string lastFrequencyLabel;
std::string lastNoteName;

void resetProcessValuesForTesting() {
    bottomLimit = kStartLimits.bottom;
    topLimit = kStartLimits.top;
    micSensitivityValue = kStartSensitivityLevel;
    lastFrequencyLabel.clear();
    lastNoteName.clear();
}

}  // namespace tuner
