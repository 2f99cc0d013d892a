// The tuner screen itself in the desktop window, its guide reading synthetic
// plucks through the real analysis: the keys 1 to 5 lock the guide on a
// course and 0 or Escape release it, the row beside the guide shows the
// choice in force, and a screen reader hears which course is locked.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <string>

#include "tests/platform/ui/qt/PluckOnTheTuner.h"
#include "tests/platform/ui/qt/QtWindowFixture.h"

namespace {

using screenshot_testing::OneBuffer;
using screenshot_testing::OneBufferOfGuide;
using screenshot_testing::PluckedCourse;

// A4 plucked 110 cents flat twice: nearer G4 (90 cents below it) than A4.
const PluckedCourse kFlatA4{sound::courseWithNote("A4"), {{-110.0}, {-110.0}}};

class CourseRowTest : public qt_window_testing::QtWindowTest {
protected:
    void SetUp() override {
        QtWindowTest::SetUp();
        const platform::ControllerFactories classes = {
            {"ViewController",
             [] {
                 return std::make_shared<tuner::ViewController>([] {}, std::make_shared<OneBuffer>(kFlatA4),
                                                                std::make_shared<sound::PitchConfirmations>(),
                                                                std::make_shared<OneBufferOfGuide>(kFlatA4));
             }},
            {"ChordsViewController",
             [] {
                 return std::make_shared<layout_testing::RecordingController>(layout_testing::chordOutlets(),
                                                                              layout_testing::chordActions());
             }},
        };
        screen = std::dynamic_pointer_cast<tuner::ViewController>(open("Main_iPhone12Pro", 0, 844, classes));
        ASSERT_NE(screen, nullptr);
        screen->viewWillAppear(false);
        QApplication::setActiveWindow(frontend->window());
        frontend->window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frontend->window()));
    }

    // Presses `key` where the keyboard's focus is, then lets the guide read
    // the plucks and a screen reader catch up.
    void press(Qt::Key key) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : frontend->window();
        QTest::keyClick(target, key);
        advance(1.0);
        settle();
    }

    // The row's button titled `title` ("Auto", "1" ... "5").
    QPushButton* choice(const QString& title) {
        for (auto* button : frontend->window()->findChildren<QPushButton*>()) {
            if (button->text() == title) return button;
        }
        ADD_FAILURE() << "no button " << title.toStdString();
        return nullptr;
    }

    // The titles of the row's checked buttons, which should be one.
    std::string checked() {
        std::string titles;
        for (const char* title : {"Auto", "1", "2", "3", "4", "5"}) {
            if (QPushButton* button = choice(title); button && button->isChecked()) titles += title;
        }
        return titles;
    }

    static std::string spokenName(QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).toStdString();
    }

    std::string shown(const char* label) { return widget<QLabel>(label)->text().toStdString(); }

    // The offset the guide shows, "-110.0 cents", as a number.
    double shownCents() { return std::stod(shown("guideCents")); }

    std::shared_ptr<tuner::ViewController> screen;
};

TEST_F(CourseRowTest, TheKeysLockTheGuideOnACourseWhichNeverJumpsToANeighbour) {
    advance(1.0);
    settle();
    EXPECT_EQ(checked(), "Auto");
    EXPECT_EQ(spokenName(choice("Auto")), "Auto, the nearest course: on");
    EXPECT_EQ(shown("guideCourse"), "Course 5 · G4") << "unlocked, the string is read as its nearest course";
    EXPECT_NEAR(shownCents(), 90.0, 0.5);

    press(Qt::Key_2);
    EXPECT_EQ(screen->lockedCourse(), 2);
    EXPECT_EQ(checked(), "2");
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(choice("2"))->state().checked);
    EXPECT_EQ(spokenName(choice("2")), "Course 2: locked");
    EXPECT_EQ(spokenName(choice("Auto")), "Auto, the nearest course");
    EXPECT_EQ(shown("guideCourse"), "Course 2 · A4");
    EXPECT_NEAR(shownCents(), -110.0, 0.5);
    EXPECT_EQ(shown("guideDirection"), "▲ tune up 1 semitone + 10 cents");

    press(Qt::Key_0);
    EXPECT_EQ(screen->lockedCourse(), std::nullopt);
    EXPECT_EQ(checked(), "Auto");
    EXPECT_EQ(spokenName(choice("2")), "Course 2");
    EXPECT_EQ(shown("guideCourse"), "Course 5 · G4");
}

TEST_F(CourseRowTest, EveryCourseHasItsKeyAndEscapeReleasesTheLock) {
    const Qt::Key keys[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5};
    for (int course = 1; course <= 5; ++course) {
        press(keys[course - 1]);
        const std::string title = std::to_string(course);
        EXPECT_EQ(screen->lockedCourse(), course);
        EXPECT_EQ(checked(), title);
        EXPECT_EQ(spokenName(choice(QString::fromStdString(title))), "Course " + title + ": locked");
        EXPECT_EQ(shown("guideCourse").rfind("Course " + title + " · ", 0), 0u) << shown("guideCourse");
    }
    press(Qt::Key_Escape);
    EXPECT_EQ(screen->lockedCourse(), std::nullopt);
    EXPECT_EQ(checked(), "Auto");
}

}  // namespace
