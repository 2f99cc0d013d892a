#pragma once
// Gives the process a locale whose decimal mark is a comma (de_DE, say) while
// it lives, and puts the previous locale back. When the machine has no such
// locale, active() is false and the test should skip, saying so; ./test
// generates de_DE.UTF-8 where it may.

#include <clocale>
#include <cstdlib>
#include <string>

namespace testing_support {

class CommaLocale {
public:
    CommaLocale() : previous_(std::setlocale(LC_ALL, nullptr)), previousEnv_(environment()) {
        for (const char* candidate : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "es_ES.UTF-8",
                                      "pt_BR.UTF-8", "it_IT.UTF-8", "ru_RU.UTF-8", "nl_NL.UTF-8"}) {
            if (std::setlocale(LC_ALL, candidate) && std::string(std::localeconv()->decimal_point) == ",") {
                name_ = candidate;
                // For libraries that read the locale from the environment (Qt).
                ::setenv("LC_ALL", candidate, 1);
                return;
            }
        }
        std::setlocale(LC_ALL, previous_.c_str());
    }
    ~CommaLocale() {
        std::setlocale(LC_ALL, previous_.c_str());
        if (previousEnv_.empty()) {
            ::unsetenv("LC_ALL");
        } else {
            ::setenv("LC_ALL", previousEnv_.c_str(), 1);
        }
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool active() const { return !name_.empty(); }
    const std::string& name() const { return name_; }
    static constexpr const char* kSkipReason =
        "no locale with a decimal comma on this machine (generate one: localedef -i de_DE -f UTF-8 de_DE.UTF-8)";

private:
    static std::string environment() {
        const char* value = std::getenv("LC_ALL");
        return value ? value : "";
    }
    const std::string previous_;
    const std::string previousEnv_;
    std::string name_;
};

}  // namespace testing_support
