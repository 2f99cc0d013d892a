// The alert's texts: localised defaults with the application's name, custom
// overrides, and where the texts and the name come from.

#include <fstream>

#include "tests/rating/RatingPromptFixture.h"

namespace rating_test {
namespace {

using rating::RatingPrompt;
namespace fs = std::filesystem;

struct Texts {
    const char* language;
    const char* title;
    const char* message;
    const char* cancel;
    const char* rate;
    const char* rateLater;
};

// Names the case in test listings.
void PrintTo(const Texts& c, std::ostream* out) { *out << c.language; }

class DefaultTextsTest : public RatingPromptTest, public ::testing::WithParamInterface<Texts> {};

TEST_P(DefaultTextsTest, AreTranslatedAndNameTheApplication) {
    const Texts& expected = GetParam();
    platform::Bundle::setMainBundle(
        std::make_shared<platform::Bundle>(testing_support::resourcesFolder(), expected.language));

    EXPECT_EQ(ratingPrompt().alertTitle(), expected.title);
    EXPECT_EQ(ratingPrompt().alertMessage(), expected.message);
    EXPECT_EQ(ratingPrompt().alertCancelTitle(), expected.cancel);
    EXPECT_EQ(ratingPrompt().alertRateTitle(), expected.rate);
    EXPECT_EQ(ratingPrompt().alertRateLaterTitle(), expected.rateLater);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, DefaultTextsTest,
    ::testing::Values(Texts{"en", "Rate Pallqa Tuner",
                            "If you enjoy using Pallqa Tuner, would you mind taking a moment to rate it? It won't take "
                            "more than a minute. Thanks for your support!",
                            "No, Thanks", "Rate Pallqa Tuner", "Remind me later"},
                      Texts{"es", "Califica Pallqa Tuner",
                            "Si te gusta usar Pallqa Tuner, ¿te tomarías un momento para calificarla? No te llevará "
                            "más de un minuto. ¡Gracias por tu apoyo!",
                            "No, gracias", "Califica Pallqa Tuner", "Recuérdamelo más tarde"}),
    [](const auto& tested) { return std::string(tested.param.language); });

TEST_F(RatingPromptTest, CustomTextsReplaceTheDefaultsAsTheyStand) {
    RatingPrompt::setCustomAlertTitle("Like it, %@?");
    RatingPrompt::setCustomAlertMessage("Tell the store.");
    RatingPrompt::setCustomAlertCancelButtonTitle("Never");
    RatingPrompt::setCustomAlertRateButtonTitle("Sure");
    RatingPrompt::setCustomAlertRateLaterButtonTitle("Not now");

    EXPECT_EQ(ratingPrompt().alertTitle(), "Like it, %@?");
    EXPECT_EQ(ratingPrompt().alertMessage(), "Tell the store.");
    EXPECT_EQ(ratingPrompt().alertCancelTitle(), "Never");
    EXPECT_EQ(ratingPrompt().alertRateTitle(), "Sure");
    EXPECT_EQ(ratingPrompt().alertRateLaterTitle(), "Not now");

    RatingPrompt::setCustomAlertTitle("");
    EXPECT_EQ(ratingPrompt().alertTitle(), "Rate Pallqa Tuner") << "an empty custom text means the default";
}

void writeFile(const fs::path& file, const std::string& contents) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << contents;
}

struct NameCase {
    const char* name;
    const char* info;          // Info.json
    const char* localizedInfo;  // strings/en/InfoPlist.json, or none
    const char* expected;
};

// Names the case in test listings.
void PrintTo(const NameCase& c, std::ostream* out) { *out << c.name; }

class ApplicationNameTest : public RatingPromptTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(ApplicationNameTest, IsTheFirstPresentOfTheTranslatedDisplayNameTheDisplayNameAndTheBundleName) {
    const fs::path resources = testing_support::temporaryFolder() / "resources";
    writeFile(resources / "Info.json", GetParam().info);
    if (GetParam().localizedInfo) writeFile(resources / "strings" / "en" / "InfoPlist.json", GetParam().localizedInfo);
    platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(resources, "en"));

    EXPECT_EQ(ratingPrompt().alertTitle(), std::string("Rate ") + GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, ApplicationNameTest,
    ::testing::Values(
        NameCase{"TranslatedDisplayName", R"({"CFBundleDisplayName": "Shown", "CFBundleName": "Bundle"})",
                 R"({"CFBundleDisplayName": "Translated"})", "Translated"},
        NameCase{"DisplayName", R"({"CFBundleDisplayName": "Shown", "CFBundleName": "Bundle"})", nullptr, "Shown"},
        NameCase{"BundleName", R"({"CFBundleName": "Bundle"})", R"({"CFBundleName": "Other"})", "Bundle"}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(RatingPromptTest, TextsComeFromTheTextBundleUnlessTheMainBundleIsAskedFor) {
    const fs::path resources = testing_support::temporaryFolder() / "resources";
    writeFile(resources / "Info.json", R"({"CFBundleName": "Tuner"})");
    writeFile(resources / "strings" / "en" / "RatingPromptLocalizable.json", R"({"No, Thanks": "Main bundle's no"})");
    writeFile(resources / "RatingPrompt.bundle" / "strings" / "en" / "RatingPromptLocalizable.json",
              R"({"No, Thanks": "Text bundle's no"})");
    platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(resources, "en"));

    EXPECT_EQ(ratingPrompt().alertCancelTitle(), "Text bundle's no");
    EXPECT_EQ(ratingPrompt().alertRateLaterTitle(), "Remind me later") << "a missing translation shows the key";

    RatingPrompt::setAlwaysUseMainBundle(true);
    EXPECT_EQ(ratingPrompt().alertCancelTitle(), "Main bundle's no");
}

}  // namespace
}  // namespace rating_test
