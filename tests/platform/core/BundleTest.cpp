#include <gtest/gtest.h>

#include <fstream>

#include "platform/core/Bundle.h"
#include "platform/core/Installed.h"
#include "platform/ui/Image.h"
#include "tests/support/PlainPlatform.h"

namespace {

namespace fs = std::filesystem;
using platform::Bundle;

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A bundle with English and Spanish tables, of which Spanish lacks one key.
class BundleFixture : public ::testing::Test {
protected:
    void SetUp() override {
        root = testing_support::temporaryFolder() / "bundle";
        fs::remove_all(root);
        write("Info.json", R"({"CFBundleIdentifier": "com.example.tuner", "CFBundleDisplayName": "Tuner"})");
        write("strings/en/Localizable.json", R"({"MicSensitivityTitle": "Microphone sensitivity", "Only": "English"})");
        write("strings/es/Localizable.json", R"({"MicSensitivityTitle": "Sensibilidad del micrófono"})");
        write("strings/es/RatingPromptLocalizable.json", R"({"Rate %@": "Calificar %@"})");
    }
    void TearDown() override {
        platform::resetInstalledServices();
        fs::remove_all(testing_support::temporaryFolder());
    }
    void write(const std::string& name, const std::string& text) {
        fs::create_directories((root / name).parent_path());
        std::ofstream(root / name) << text;
    }
    fs::path root;
};

TEST_F(BundleFixture, ReadsItsInformationDictionary) {
    Bundle bundle(root, "en");
    EXPECT_EQ(bundle.bundleIdentifier(), "com.example.tuner");
    EXPECT_EQ(bundle.infoValue("CFBundleDisplayName"), "Tuner");
    EXPECT_EQ(bundle.infoValue("CFBundleName"), "");
}

TEST_F(BundleFixture, LocalizedStringFallsBackToTheValueThenTheKey) {
    Bundle spanish(root, "es");
    EXPECT_EQ(spanish.localizedString("MicSensitivityTitle", ""), "Sensibilidad del micrófono");
    EXPECT_EQ(spanish.localizedString("Only", ""), "Only");  // no English fallback inside a language
    EXPECT_EQ(spanish.localizedString("Missing", "default"), "default");
    EXPECT_EQ(spanish.localizedString("Rate %@", "", "RatingPromptLocalizable"), "Calificar %@");
    EXPECT_EQ(spanish.localizedString("Rate %@", "", "NoSuchTable"), "Rate %@");
}

TEST_F(BundleFixture, AnUnknownLanguageUsesEnglish) {
    Bundle bundle(root, "fr");
    EXPECT_EQ(bundle.language(), "en");
    EXPECT_EQ(bundle.localizedString("MicSensitivityTitle"), "Microphone sensitivity");
    EXPECT_EQ(bundle.localizations(), (std::vector<std::string>{"en", "es"}));
}

TEST(PreferredLanguage, FollowsLcAllThenLcMessagesThenLang) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* expected;
    };
    const Case cases[] = {
        {"es_PE.UTF-8", "en_GB.UTF-8", "en_US.UTF-8", "es"},
        {nullptr, "es_ES.UTF-8", "en_US.UTF-8", "es"},
        {"", "", "es_AR.UTF-8", "es"},
        {nullptr, nullptr, "C.UTF-8", "en"},
        {nullptr, nullptr, "POSIX", "en"},
        {nullptr, nullptr, nullptr, "en"},
        {nullptr, nullptr, "de_DE@euro", "de"},
    };
    for (const auto& c : cases) {
        ScopedEnv all("LC_ALL", c.lcAll), messages("LC_MESSAGES", c.lcMessages), lang("LANG", c.lang);
        EXPECT_EQ(Bundle::preferredLanguageFromEnvironment(), c.expected)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " " << (c.lang ? c.lang : "-");
    }
}

TEST_F(BundleFixture, NamedPicturesAreLookedUpOnceMissesIncluded) {
    write("lamp.png", "not decoded on the plain side");
    platform::Bundle::setMainBundle(std::make_shared<Bundle>(root, "en"));
    platform::clearImageCache();

    const auto first = platform::imageNamed("lamp.png");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->path, root / "lamp.png");
    EXPECT_FALSE(platform::imageNamed("missing.png"));

    // Once looked up, neither answer depends on the files any more.
    fs::remove(root / "lamp.png");
    write("missing.png", "");
    EXPECT_EQ(platform::imageNamed("lamp.png"), first);
    EXPECT_FALSE(platform::imageNamed("missing.png"));
}

}  // namespace
