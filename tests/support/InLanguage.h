#pragma once
// The program's texts in one language while it lives: a bundle of the source
// tree's resources in `language` becomes the main bundle, and the default
// comes back afterwards.

#include <memory>

#include "platform/core/Bundle.h"
#include "tests/support/PlainPlatform.h"

namespace testing_support {

class InLanguage {
public:
    explicit InLanguage(const char* language) {
        platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(resourcesFolder(), language));
    }
    ~InLanguage() { platform::Bundle::setMainBundle(nullptr); }
    InLanguage(const InLanguage&) = delete;
    InLanguage& operator=(const InLanguage&) = delete;
};

}  // namespace testing_support
