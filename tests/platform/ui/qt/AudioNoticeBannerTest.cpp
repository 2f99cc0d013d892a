// The audio notices as the window shows them: a row of strips above the
// screen that pushes it down, one strip per standing notice, each dismissed by
// mouse or keyboard, whichever thread sets them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <set>
#include <thread>

#include "platform/audio/AudioNotice.h"
#include "tests/platform/ui/qt/QtWindowFixture.h"

namespace {

const std::string kDemo = "No microphone found: you are hearing a demo recording";
const std::string kNoOutput = "No sound output: the tuning fork, the string sounds and the beep cannot be heard.";

class AudioNoticeBannerTest : public qt_window_testing::QtWindowTest {
protected:
    void TearDown() override {
        frontend.reset();
        for (const std::string& notice : platform::audioNotices()) platform::clearAudioNotice(notice);
        QtWindowTest::TearDown();
    }

    void openPhone() {
        open("Main_iPhone12Pro", platform::Device::kIdiomPhone, 844);
        settle();
    }

    std::vector<std::string> shown() const {
        std::vector<std::string> texts;
        for (QLabel* label : frontend->notice()->labels()) {
            if (label->isVisibleTo(frontend->window())) texts.push_back(label->text().toStdString());
        }
        return texts;
    }

    // The window's point at the centre of `widget`.
    QPoint centreOf(QWidget* widget) const { return widget->mapTo(frontend->window(), widget->rect().center()); }
};

TEST_F(AudioNoticeBannerTest, EveryStandingNoticeTakesARowAboveTheScreenWhichMovesDownForIt) {
    openPhone();
    EXPECT_FALSE(frontend->notice()->row()->isVisible());

    platform::showAudioNotice(kDemo);
    platform::showAudioNotice(kNoOutput);
    settle();
    EXPECT_EQ(shown(), (std::vector<std::string>{kDemo, kNoOutput})) << "both stand, the oldest first";
    QWidget* window = frontend->window();
    const QRect row = frontend->notice()->row()->geometry();
    EXPECT_EQ(row.topLeft(), QPoint(0, 0));
    EXPECT_EQ(row.width(), window->width());
    // No control of the screen lies under the row: a click reaches each one seen.
    int seen = 0;
    for (auto* control : window->findChildren<QPushButton*>()) {
        const QRect visible = control->visibleRegion().boundingRect();
        if (!control->isVisibleTo(window) || visible.isEmpty() || frontend->notice()->row()->isAncestorOf(control)) continue;
        ++seen;
        const QRect inWindow(control->mapTo(window, visible.topLeft()), visible.size());
        EXPECT_FALSE(inWindow.intersects(row)) << control->text().toStdString();
        EXPECT_EQ(window->childAt(inWindow.center()), control) << control->text().toStdString();
    }
    EXPECT_GT(seen, 0);
    const QWidget* title = widget("currentTuningName");
    EXPECT_GE(title->mapTo(window, QPoint(0, 0)).y(), row.bottom());
}

TEST_F(AudioNoticeBannerTest, ANoticeStandingWhenTheWindowOpensIsShown) {
    platform::showAudioNotice(kDemo);
    openPhone();
    EXPECT_EQ(shown(), std::vector<std::string>{kDemo});
}

TEST_F(AudioNoticeBannerTest, NoticesSetOnAnotherThreadAppearAndGoEachWithItsOwnCause) {
    openPhone();
    std::thread([] { platform::showAudioNotice("Microphone lost \u2014 reconnecting\u2026"); }).join();
    platform::showAudioNotice(kNoOutput);
    settle();
    EXPECT_EQ(shown().size(), 2u);

    platform::clearAudioNotice("something else");
    std::thread([] { platform::clearAudioNotice("Microphone lost \u2014 reconnecting\u2026"); }).join();
    settle();
    EXPECT_EQ(shown(), std::vector<std::string>{kNoOutput});
    platform::clearAudioNotice(kNoOutput);
    settle();
    EXPECT_FALSE(frontend->notice()->row()->isVisibleTo(frontend->window()));
}

TEST_F(AudioNoticeBannerTest, AClickOnItsButtonDismissesANotice) {
    platform::showAudioNotice(kDemo);
    platform::showAudioNotice(kNoOutput);
    openPhone();
    QPushButton* dismiss = frontend->notice()->dismissButtons().at(0);
    EXPECT_EQ(dismiss->accessibleName(), "Dismiss notice");
    EXPECT_EQ(dismiss->accessibleDescription().toStdString(), kDemo);
    QTest::mouseClick(dismiss, Qt::LeftButton);
    settle();
    EXPECT_EQ(shown(), std::vector<std::string>{kNoOutput});
    EXPECT_EQ(platform::audioNotices(), std::vector<std::string>{kNoOutput});
}

TEST_F(AudioNoticeBannerTest, TheKeyboardReachesEachDismissButtonAndSpaceOrEnterDismisses) {
    platform::showAudioNotice(kDemo);
    platform::showAudioNotice(kNoOutput);
    openPhone();
    QApplication::setActiveWindow(frontend->window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frontend->window()));
    const std::vector<QPushButton*> buttons = frontend->notice()->dismissButtons();
    // Tab goes round the window's controls and reaches each button.
    std::set<QWidget*> reached;
    for (int i = 0; i < 60; ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : frontend->window(), Qt::Key_Tab);
        reached.insert(QApplication::focusWidget());
    }
    for (QPushButton* button : buttons) EXPECT_TRUE(reached.count(button));

    buttons[0]->setFocus();
    QTest::keyClick(buttons[0], Qt::Key_Space);
    settle();
    EXPECT_EQ(shown(), std::vector<std::string>{kNoOutput});
    QWidget* next = QApplication::focusWidget();
    ASSERT_EQ(next, frontend->notice()->dismissButtons().at(0)) << "the focus moves to the next notice's button";
    QTest::keyClick(next, Qt::Key_Return);
    settle();
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(platform::audioNotices().empty());
    EXPECT_TRUE(frontend->window()->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == frontend->window())
        << "the focus stays in the window";
}

}  // namespace
