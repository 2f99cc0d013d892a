// Spanish throughout: under a Spanish locale the layouts' own texts, the
// texts the program adds (spoken names, the guide, notices, the window's
// messages) and the pictures with words in them are Spanish; every other
// language sees English.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>

#include "app/AppDelegate.h"
#include "app/LayoutSelection.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Image.h"
#include "tests/support/PlainPlatform.h"

namespace {

using nlohmann::json;

json readJson(const std::filesystem::path& file) {
    std::ifstream in(file);
    return json::parse(in);
}

void collectTexts(const json& element, std::set<std::string>& texts) {
    for (const char* key : {"text", "title"}) {
        if (element.contains(key)) texts.insert(element[key].get<std::string>());
    }
    if (element.contains("subviews")) {
        for (const auto& child : element["subviews"]) collectTexts(child, texts);
    }
}

// Every accessibility name and value in the built screen.
void spokenTexts(const platform::View& view, std::vector<std::string>& texts) {
    texts.push_back(view.accessibilityLabel());
    texts.push_back(view.accessibilityValue());
    for (const auto& child : view.subviews()) spokenTexts(*child, texts);
}

bool contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Every label text and button title the built screen shows.
void shownTexts(const platform::View& view, std::vector<std::string>& texts) {
    if (const auto* label = dynamic_cast<const platform::Label*>(&view)) texts.push_back(label->text());
    if (const auto* button = dynamic_cast<const platform::Button*>(&view)) texts.push_back(button->title());
    for (const auto& child : view.subviews()) shownTexts(*child, texts);
}

class SpanishTest : public testing_support::PlainPlatformTest {
protected:
    void useLanguage(const std::string& language) {
        platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(testing_support::resourcesFolder(), language));
        platform::clearImageCache();
    }

    // The texts `collect` finds in the tuner screen, as a launch builds it.
    std::vector<std::string> tunerTexts(void (*collect)(const platform::View&, std::vector<std::string>&) = shownTexts) {
        platform::Application::sharedApplication()->removeAllWindows();
        app::AppDelegate delegate;
        delegate.initializeStoryBoardBasedOnScreenSize();
        std::vector<std::string> texts;
        if (delegate.window()) collect(*delegate.window(), texts);
        return texts;
    }
};

TEST_F(SpanishTest, EveryTextOfEveryLayoutHasItsSpanish) {
    const json spanish = readJson(testing_support::resourcesFolder() / "strings" / "es" / "Main.json");
    const auto hasALetter = [](const std::string& text) {
        return std::any_of(text.begin(), text.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
    };
    for (const auto& name : app::allLayoutNames()) {
        std::set<std::string> texts;
        const json layout = readJson(testing_support::resourcesFolder() / "layouts" / (name + ".json"));
        for (const auto& scene : layout["scenes"]) {
            collectTexts(scene["view"], texts);
        }
        for (const auto& text : texts) {
            if (hasALetter(text)) {
                EXPECT_TRUE(spanish.contains(text)) << name << ": \"" << text << "\"";
            }
        }
    }
}

TEST_F(SpanishTest, TheTunerScreenSpeaksSpanishAndOtherLanguagesEnglish) {
    struct Case {
        const char* language;
        const char* fork;
        const char* settings;
        const char* chords;
    };
    const Case cases[] = {
        {"es", "Diapasón", "AJUSTES", "Acordes ›"},
        {"en", "Tuning fork", "SETTINGS", "Chords ›"},
        {"fr", "Tuning fork", "SETTINGS", "Chords ›"},
    };
    for (const auto& c : cases) {
        useLanguage(c.language);
        const auto texts = tunerTexts();
        for (const char* expected : {c.fork, c.settings, c.chords}) {
            EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << c.language << ": " << expected;
        }
    }
}

TEST_F(SpanishTest, EveryTextOfTheStringTableHasItsSpanish) {
    // Words that are the same in Spanish.
    const std::set<std::string> same = {"cents"};
    const json english = readJson(testing_support::resourcesFolder() / "strings" / "en" / "Localizable.json");
    const json spanish = readJson(testing_support::resourcesFolder() / "strings" / "es" / "Localizable.json");
    for (const auto& [key, text] : english.items()) {
        ASSERT_TRUE(spanish.contains(key)) << key;
        if (!same.contains(text.get<std::string>())) {
            EXPECT_NE(spanish[key], text) << key;
        }
    }
}

TEST_F(SpanishTest, ScreenReadersHearTheLanguageInUse) {
    struct Case {
        const char* language;
        const char* lamp;
        const char* lampState;
        const char* litString;
        const char* chart;
    };
    const Case cases[] = {
        {"es", "Luz", "desafinado", "Cuerda iluminada", "Tabla de frecuencias de los cinco órdenes"},
        {"en", "Lamp", "not in tune", "String lit", "Frequency chart of the five courses"},
        {"fr", "Lamp", "not in tune", "String lit", "Frequency chart of the five courses"},
    };
    for (const auto& c : cases) {
        useLanguage(c.language);
        const auto texts = tunerTexts(spokenTexts);
        for (const char* expected : {c.lamp, c.lampState, c.litString, c.chart}) {
            EXPECT_TRUE(contains(texts, expected)) << c.language << ": " << expected;
        }
    }
}

TEST_F(SpanishTest, AScreenWithoutALayoutIsExplainedInTheLanguageInUse) {
    setScreen(0, 800);
    struct Explanation {
        std::string window;
        std::string terminal;
    };
    const auto explanationIn = [this](const char* language) {
        useLanguage(language);
        testing::internal::CaptureStderr();
        tunerTexts();
        const std::string terminal = testing::internal::GetCapturedStderr();
        return Explanation{platform::Application::sharedApplication()->noWindowExplanation(), terminal};
    };
    const Explanation spanish = explanationIn("es");
    const std::string phones = "Los diseños de teléfono sirven para las alturas 480, ";
    const std::string tablets = " y 956; los de tableta, para las alturas 1024, ";
    EXPECT_TRUE(spanish.window.starts_with(phones)) << spanish.window;
    EXPECT_NE(spanish.window.find(tablets), std::string::npos) << spanish.window;
    EXPECT_TRUE(spanish.window.ends_with(" y 1376.")) << spanish.window;
    EXPECT_TRUE(spanish.terminal.starts_with("pallqa-tuner: no hay diseño para un teléfono de 800 puntos de alto; "
                                             "los diseños de teléfono sirven para las alturas 480, "))
        << spanish.terminal;
    EXPECT_TRUE(spanish.terminal.ends_with(" y 1376\n")) << spanish.terminal;

    const Explanation french = explanationIn("fr");
    const app::ServedHeights lists = app::servedHeightLists("and");
    const std::string served =
        "phone layouts serve heights " + lists.phone + "; tablet layouts serve heights " + lists.tablet;
    EXPECT_EQ(french.window, "The " + served + ".");
    EXPECT_EQ(french.terminal, "pallqa-tuner: no layout for a phone 800 points high; " + served + "\n");
}

TEST_F(SpanishTest, TheFrequencyChartHasItsSpanishCopy) {
    useLanguage("es");
    const auto spanish = platform::Bundle::mainBundle()->pathForResource("freqchart", "png");
    ASSERT_TRUE(spanish);
    EXPECT_EQ(*spanish, testing_support::resourcesFolder() / "localized" / "es" / "freqchart.png");
    for (const char* other : {"en", "fr"}) {
        useLanguage(other);
        EXPECT_EQ(platform::Bundle::mainBundle()->pathForResource("freqchart", "png"),
                  testing_support::resourcesFolder() / "freqchart.png")
            << other;
    }
}

}  // namespace
