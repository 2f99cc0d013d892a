// The window's microphone setting: the offered inputs, the chosen one ticked,
// a choice passed on; nothing to show where nothing is offered.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWidget>
#include <memory>

#include "platform/audio/MicrophoneChoice.h"
#include "platform/core/Bundle.h"
#include "platform/ui/qt/MicrophoneMenu.h"
#include "tests/support/PlainPlatform.h"

namespace {

class MicrophoneMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (QApplication::instance() == nullptr) application_ = std::make_unique<QApplication>(argc_, argv_);
        window_ = std::make_unique<QWidget>();
    }
    void TearDown() override {
        platform::setMicrophoneChoice({});
        window_.reset();
    }

    // Offers two inputs, "USB microphone" chosen, and records each choice.
    void offer() {
        platform::MicrophoneChoice choice;
        choice.microphones = [] { return std::vector<std::string>{"USB microphone", "Built-in microphone"}; };
        choice.chosen = [this] { return chosen_; };
        choice.choose = [this](const std::string& name) { chosen_ = name; };
        platform::setMicrophoneChoice(choice);
    }

    // The entries that choose, below the title.
    static std::vector<QAction*> choices(QMenu* menu) {
        std::vector<QAction*> found;
        for (QAction* action : menu->actions()) {
            if (action->isCheckable()) found.push_back(action);
        }
        return found;
    }

    int argc_ = 1;
    char program_[13] = "pallqa-tuner";
    char* argv_[2] = {program_, nullptr};
    std::unique_ptr<QApplication> application_;
    std::unique_ptr<QWidget> window_;
    std::string chosen_ = "USB microphone";
};

TEST_F(MicrophoneMenuTest, ListsTheDefaultAndEveryInputWithTheChosenOneTicked) {
    offer();
    QMenu* menu = platform::ui::qt::makeMicrophoneMenu(window_.get());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->accessibleName(), "Microphone");
    EXPECT_EQ(menu->actions().at(0)->text(), "Microphone") << "titled";
    EXPECT_FALSE(menu->actions().at(0)->isEnabled());
    std::vector<std::pair<std::string, bool>> entries;
    for (const QAction* action : choices(menu)) entries.emplace_back(action->text().toStdString(), action->isChecked());
    const std::vector<std::pair<std::string, bool>> expected = {
        {"The system's default", false}, {"USB microphone", true}, {"Built-in microphone", false}};
    EXPECT_EQ(entries, expected);
}

TEST_F(MicrophoneMenuTest, SpeaksTheLanguageInUse) {
    const struct {
        const char* language;
        const char* title;
        const char* systemDefault;
    } cases[] = {{"es", "Micrófono", "El predeterminado del sistema"}, {"en", "Microphone", "The system's default"}};
    offer();
    for (const auto& c : cases) {
        platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(testing_support::resourcesFolder(), c.language));
        QMenu* menu = platform::ui::qt::makeMicrophoneMenu(window_.get());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title().toStdString(), c.title);
        EXPECT_EQ(choices(menu).at(0)->text().toStdString(), c.systemDefault);
    }
}

TEST_F(MicrophoneMenuTest, ChoosingAnEntryPassesItsNameOnAndTheDefaultIsTheEmptyName) {
    offer();
    QMenu* menu = platform::ui::qt::makeMicrophoneMenu(window_.get());
    ASSERT_NE(menu, nullptr);
    choices(menu).at(2)->trigger();
    EXPECT_EQ(chosen_, "Built-in microphone");
    choices(menu).at(0)->trigger();
    EXPECT_EQ(chosen_, "");
}

TEST_F(MicrophoneMenuTest, NothingOfferedMeansNoMenu) {
    EXPECT_EQ(platform::ui::qt::makeMicrophoneMenu(window_.get()), nullptr);
}

}  // namespace
