// The window used without a mouse: Tab through the controls, Space and Enter
// press, arrows move the slider and the pickers, Escape closes a panel or
// goes back, Ctrl+Q quits; and what screen readers are told of each element.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "platform/ui/Controls.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/qt/Widgets.h"
#include "tests/platform/ui/qt/QtWindowFixture.h"

namespace {

class KeyboardTest : public qt_window_testing::QtWindowTest {
protected:
    std::shared_ptr<layout_testing::RecordingController> openPhone() {
        auto tuner = open("Main_iPhone12Pro", 0, 844);
        QApplication::setActiveWindow(frontend->window());
        frontend->window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(frontend->window()));
        return tuner;
    }

    // Presses `key` where the keyboard's focus is.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : frontend->window();
        QTest::keyClick(target, key, modifiers);
        settle();
    }

    QPushButton* buttonTitled(const QString& title) {
        for (auto* button : frontend->window()->findChildren<QPushButton*>()) {
            if (button->text() == title) return button;
        }
        return nullptr;
    }

    template <typename T>
    std::shared_ptr<T> model(const layout_testing::RecordingController& screen, const std::string& name) {
        return std::dynamic_pointer_cast<T>(layout_testing::findView(screen.view(), name));
    }
};

TEST_F(KeyboardTest, TabReachesEveryControlInReadingOrder) {
    openPhone();
    std::vector<QWidget*> order;
    for (int i = 0; i < 60; ++i) {
        press(Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        if (!order.empty() && focused == order.front()) break;
        order.push_back(focused);
    }
    QWidget* chords = buttonTitled("Chords ›");
    // Tab goes round: read the round from the first control of the page.
    const auto start = std::find(order.begin(), order.end(), chords);
    ASSERT_NE(start, order.end());
    std::rotate(order.begin(), start, order.end());
    const auto position = [&](QWidget* wanted) {
        return std::find(order.begin(), order.end(), wanted) - order.begin();
    };
    QWidget* fork = widget("tuningForkButton");
    QWidget* firstString = buttonTitled("E5\n1·2");
    QWidget* slider = widget("micSensitivitySlider");
    QWidget* stringSounds = widget("stringSoundsSwitch");
    QWidget* rate = buttonTitled("Rate Pallqa Tuner");
    const std::vector<QWidget*> expected{chords, fork, firstString, slider, stringSounds, rate};
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_NE(expected[i], nullptr) << i;
        ASSERT_LT(position(expected[i]), static_cast<long>(order.size())) << "not reached: " << i;
        if (i > 0) {
            EXPECT_LT(position(expected[i - 1]), position(expected[i])) << i;
        }
    }
    EXPECT_EQ(position(buttonTitled("Done")), static_cast<long>(order.size())) << "a closed panel is skipped";
    for (QWidget* stop : order) EXPECT_EQ(qobject_cast<QScrollArea*>(stop), nullptr) << "the page is no Tab stop";
}

TEST_F(KeyboardTest, AnOpenPanelHoldsTheFocusUntilItCloses) {
    openPhone();
    widget("tuningForkButton")->setFocus();
    press(Qt::Key_Space);
    QWidget* panel = widget("tuningForkPanel");
    ASSERT_TRUE(panel->isVisibleTo(frontend->window()));
    std::vector<QWidget*> round;
    for (int i = 0; i < 30; ++i) {
        press(Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_TRUE(panel->isAncestorOf(focused)) << "Tab " << i << " left the panel for "
                                                  << (focused ? focused->objectName().toStdString() : "nothing");
        if (std::find(round.begin(), round.end(), focused) == round.end()) round.push_back(focused);
    }
    EXPECT_GE(round.size(), 6u) << "the five forks, Stop and Done";
    EXPECT_NE(std::find(round.begin(), round.end(), buttonTitled("Done")), round.end());
    // Shift+Tab goes round the other way.
    QWidget* from = QApplication::focusWidget();
    press(Qt::Key_Tab);
    press(Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), from);

    press(Qt::Key_Escape);
    EXPECT_FALSE(panel->isVisibleTo(frontend->window()));
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    EXPECT_FALSE(panel->isAncestorOf(QApplication::focusWidget())) << "once closed, the page is free again";
}

TEST_F(KeyboardTest, SpaceOpensThePanelWhichTakesTheFocusAndEscapeClosesItWithItsDoneButton) {
    const auto tuner = openPhone();
    widget("tuningForkButton")->setFocus();
    press(Qt::Key_Space);
    EXPECT_TRUE(widget("tuningForkPanel")->isVisibleTo(frontend->window()));
    EXPECT_TRUE(widget("tuningForkPanel")->isAncestorOf(QApplication::focusWidget()));

    press(Qt::Key_Escape);
    EXPECT_FALSE(widget("tuningForkPanel")->isVisibleTo(frontend->window()));
    EXPECT_EQ(tuner->received, (std::vector<std::string>{"disableTemporarilySoundConfirmation:", "stopFreqPlay:",
                                                         "enableSoundConfirmation:"}));
    EXPECT_EQ(QApplication::focusWidget(), widget("tuningForkButton")) << "the focus returns where it was";
}

TEST_F(KeyboardTest, EnterPressesButtonsAndFlipsSwitches) {
    const auto tuner = openPhone();
    buttonTitled("A4\n3·4")->setFocus();
    press(Qt::Key_Return);
    widget("soundNotificationSwitch")->setFocus();
    press(Qt::Key_Enter);
    EXPECT_FALSE(model<platform::Switch>(*tuner, "soundNotificationSwitch")->isOn());
    EXPECT_EQ(tuner->received, (std::vector<std::string>{"play2ndStringSound:", "soundNotificationAction:"}));
}

TEST_F(KeyboardTest, ArrowsAndTheWheelMoveTheSliderAWholeLevelAtATime) {
    const auto tuner = openPhone();
    const auto slider = model<platform::Slider>(*tuner, "micSensitivitySlider");
    widget("micSensitivitySlider")->setFocus();
    press(Qt::Key_Right);
    EXPECT_EQ(slider->value(), 6.0f);
    press(Qt::Key_Left);
    press(Qt::Key_Left);
    EXPECT_EQ(slider->value(), 4.0f);

    auto* qslider = widget<QSlider>("micSensitivitySlider");
    const QPointF centre = QRectF(qslider->rect()).center();
    QWheelEvent up(centre, qslider->mapToGlobal(centre), {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                   false);
    QApplication::sendEvent(qslider, &up);
    settle();
    EXPECT_EQ(slider->value(), 5.0f) << "a wheel step is a whole level, shown and sent";
    EXPECT_EQ(qslider->value(), 500);
    EXPECT_EQ(tuner->received, std::vector<std::string>(4, "micSensitivity:"));
}

TEST_F(KeyboardTest, TheWheelOverTheSliderScrollsThePageUnlessTheSliderHasTheFocus) {
    const auto tuner = openPhone();
    auto* area = widget<QScrollArea>("sceneScroll");
    ASSERT_NE(area, nullptr);
    auto* qslider = widget<QSlider>("micSensitivitySlider");
    const auto turn = [&] {
        const QPointF centre = QRectF(qslider->rect()).center();
        QWheelEvent down(centre, qslider->mapToGlobal(centre), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(qslider, &down);
        settle();
    };
    for (int step = 0; step < 3; ++step) turn();
    EXPECT_GT(area->verticalScrollBar()->value(), 0) << "the page scrolls";
    EXPECT_EQ(qslider->value(), 500);
    EXPECT_TRUE(tuner->received.empty()) << "nothing is sent or saved";

    qslider->setFocus();
    const int scrolled = area->verticalScrollBar()->value();
    turn();
    EXPECT_EQ(model<platform::Slider>(*tuner, "micSensitivitySlider")->value(), 4.0f);
    EXPECT_EQ(area->verticalScrollBar()->value(), scrolled) << "a focused slider takes the step";
}

TEST_F(KeyboardTest, ArrowsChooseInAPickerAndEscapeLeavesTheChordScreen) {
    const auto tuner = openPhone();
    buttonTitled("Chords ›")->setFocus();
    press(Qt::Key_Space);
    const auto chords = std::dynamic_pointer_cast<layout_testing::RecordingController>(tuner->presentedViewController());
    ASSERT_NE(chords, nullptr);
    qt_window_testing::ThreeRows roots;
    auto picker = model<platform::PickerView>(*chords, "selectRootChord");
    picker->setDataSource(&roots);
    picker->setDelegate(&roots);
    picker->selectRow(0, 0, false);
    widget("selectRootChord")->findChild<QListWidget*>()->setFocus();
    press(Qt::Key_Down);
    EXPECT_EQ(roots.chosen, 1u);

    press(Qt::Key_Escape);
    EXPECT_EQ(tuner->presentedViewController(), nullptr);
    EXPECT_NE(widget("noteDisplay"), nullptr);
}

// A delegate that does nothing.
class QuietDelegate : public platform::ApplicationDelegate {
public:
    const std::shared_ptr<platform::Window>& window() const override { return window_; }
    void setWindow(std::shared_ptr<platform::Window> window) override { window_ = std::move(window); }
    bool applicationDidFinishLaunchingWithOptions(platform::Application&, const platform::LaunchOptionsDictionary&) override {
        return true;
    }
    void applicationWillResignActive(platform::Application&) override {}
    void applicationDidEnterBackground(platform::Application&) override {}
    void applicationWillEnterForeground(platform::Application&) override {}
    void applicationDidBecomeActive(platform::Application&) override {}
    void applicationWillTerminate(platform::Application&) override {}

private:
    std::shared_ptr<platform::Window> window_;
};

TEST_F(KeyboardTest, CtrlQQuitsWithStatusZero) {
    openPhone();
    QuietDelegate delegate;
    // Running opens the window afresh; the key comes once it is up.
    QTimer::singleShot(0, qApp, [this] {
        QApplication::setActiveWindow(frontend->window());
        press(Qt::Key_Q, Qt::ControlModifier);
    });
    EXPECT_EQ(frontend->run(*loop, delegate, 30.0), 0);
    EXPECT_LT(loop->elapsed(), 30.0) << "quit by the key, not by the end of the run";
}

TEST_F(KeyboardTest, AFocusedControlWearsARingThatStandsOutOnTheDarkTheme) {
    openPhone();
    for (QWidget* control : {widget("stringSoundsSwitch"), widget("tuningForkButton"), widget("micSensitivitySlider"),
                             static_cast<QWidget*>(buttonTitled("Chords ›"))}) {
        ASSERT_NE(control, nullptr);
        const std::string name = control->objectName().toStdString();
        // Seen on the window's own dark background.
        const auto seen = [&] {
            const QRect area(control->mapTo(frontend->window(), QPoint(0, 0)), control->size());
            return frontend->window()->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
        };
        frontend->window()->setFocus();
        settle();
        const QImage plain = seen();
        control->setFocus();
        settle();
        const QImage ringed = seen();
        ASSERT_EQ(ringed.size(), plain.size());
        // A ring: most of the edge changed strongly, not a faint tint.
        constexpr int kEdge = 4;
        int strong = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                if (std::min({x, y, plain.width() - 1 - x, plain.height() - 1 - y}) >= kEdge) continue;
                const QColor a = plain.pixelColor(x, y);
                const QColor b = ringed.pixelColor(x, y);
                if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) > 150) {
                    ++strong;
                }
            }
        }
        EXPECT_GE(strong, plain.width() + plain.height()) << name << ": a ring half round the edge at least";
    }
}

TEST_F(KeyboardTest, DisabledControlsLookAndActDisabled) {
    const auto tuner = openPhone();
    const auto key = std::dynamic_pointer_cast<platform::Button>(
        platform::controlsSending(tuner->view(), "play1stStringSound:").at(0));
    QPushButton* button = buttonTitled("E5\n1·2");
    const QImage enabled = button->grab().toImage();
    key->setEnabled(false);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_NE(button->grab().toImage(), enabled);
    button->click();
    EXPECT_TRUE(tuner->received.empty());
}

TEST_F(KeyboardTest, AnOpenedPanelIsShownWholeWhereverThePageIsScrolled) {
    openPhone();
    auto* area = widget<QScrollArea>("sceneScroll");
    ASSERT_NE(area, nullptr);
    QWidget* fork = widget("tuningForkButton");
    // Scrolled so the button sits at the top edge and the panel would start above it.
    area->verticalScrollBar()->setValue(fork->mapTo(area->widget(), QPoint(0, 0)).y());
    static_cast<QPushButton*>(fork)->click();
    settle();
    QWidget* panel = widget("tuningForkPanel");
    const QRect onScreen(panel->mapTo(area->viewport(), QPoint(0, 0)), panel->size());
    EXPECT_TRUE(area->viewport()->rect().contains(onScreen)) << onScreen.y();
}

TEST_F(KeyboardTest, AHiddenChartGivesItsRoomBack) {
    const auto tuner = openPhone();
    const int cardHeight = widget("freqChart")->parentWidget()->height();
    const int chartHeight = widget("freqChart")->height();
    const int aboutY = widget("aboutMsg2")->parentWidget()->y();
    model<platform::ImageView>(*tuner, "freqChart")->setHidden(true);
    settle();
    const int cut = cardHeight - widget("freqChart")->parentWidget()->height();
    EXPECT_NEAR(cut, chartHeight + 6 * frontend->scale(), 2.0) << "the settings card closes up over the chart";
    EXPECT_EQ(widget("aboutMsg2")->parentWidget()->y(), aboutY - cut) << "the card below moves up";
    EXPECT_FALSE(widget("freqChart")->isVisibleTo(frontend->window()));

    model<platform::ImageView>(*tuner, "freqChart")->setHidden(false);
    settle();
    EXPECT_EQ(widget("freqChart")->parentWidget()->height(), cardHeight);
    EXPECT_EQ(widget("aboutMsg2")->parentWidget()->y(), aboutY);
}

using ScreenReaderTest = KeyboardTest;

TEST_F(ScreenReaderTest, ElementsCarryTheirSpokenNamesAndStates) {
    const auto tuner = openPhone();
    const auto lamp = model<platform::ImageView>(*tuner, "LEDDisplay");
    lamp->setAccessibilityLabel("Lamp");
    lamp->setAccessibilityValue("in tune");
    const auto string = model<platform::ImageView>(*tuner, "tunedString5");
    string->setAccessibilityLabel("String lit");
    string->setAccessibilityValue("A4, strings 3 and 4");
    loop->advance(1.0);  // at the pace a reader follows
    EXPECT_EQ(widget("LEDDisplay")->accessibleName(), "Lamp: in tune");
    EXPECT_EQ(widget("tunedString5")->accessibleName(), "String lit: A4, strings 3 and 4");
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(widget("LEDDisplay"));
    ASSERT_NE(spoken, nullptr);
    EXPECT_EQ(spoken->text(QAccessible::Name), "Lamp: in tune");

    lamp->setAccessibilityValue("not in tune");
    loop->advance(1.0);
    EXPECT_EQ(widget("LEDDisplay")->accessibleName(), "Lamp: not in tune");
    // A button with a title is read by its title.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(widget("tuningForkButton"))->text(QAccessible::Name), "Tuning fork");

    buttonTitled("Chords ›")->click();
    settle();
    const auto chords = std::dynamic_pointer_cast<layout_testing::RecordingController>(tuner->presentedViewController());
    ASSERT_NE(chords, nullptr);
    model<platform::Button>(*chords, "buttonFlatOrSharp")->setAccessibilityLabel("Spell with flats");
    settle();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(widget("buttonFlatOrSharp"))->text(QAccessible::Name),
              "Spell with flats");
}

TEST_F(ScreenReaderTest, OnlyTheListWithTheFocusPointsAtItsChoice) {
    const auto tuner = openPhone();
    buttonTitled("Chords ›")->click();
    settle();
    const auto chords = std::dynamic_pointer_cast<layout_testing::RecordingController>(tuner->presentedViewController());
    ASSERT_NE(chords, nullptr);
    qt_window_testing::ThreeRows roots;
    qt_window_testing::ThreeRows variants;
    const std::pair<const char*, qt_window_testing::ThreeRows*> pickers[] = {{"selectRootChord", &roots},
                                                                            {"selectVariant", &variants}};
    for (const auto& [name, rows] : pickers) {
        auto picker = model<platform::PickerView>(*chords, name);
        picker->setDataSource(rows);
        picker->setDelegate(rows);
        picker->selectRow(2, 0, false);
    }
    auto* rootList = widget("selectRootChord")->findChild<platform::ui::qt::ChoiceList*>();
    auto* variantList = widget("selectVariant")->findChild<platform::ui::qt::ChoiceList*>();
    ASSERT_NE(rootList, nullptr);
    ASSERT_NE(variantList, nullptr);
    // The rows each list offers a screen reader as focused or as chosen.
    const auto heard = [](QListWidget* list, auto flag) {
        std::vector<int> rows;
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(list);
        for (int child = 0; child < spoken->childCount(); ++child) {
            QAccessibleInterface* row = spoken->child(child);
            if (flag(row->state())) rows.push_back(row->text(QAccessible::Name).at(0).unicode() - 'A');
        }
        return rows;
    };
    const auto focused = [](const QAccessible::State& state) { return bool(state.focused); };
    const auto selected = [](const QAccessible::State& state) { return bool(state.selected); };

    rootList->setFocus();
    settle();
    EXPECT_EQ(heard(rootList, focused), std::vector<int>{2});
    EXPECT_EQ(heard(variantList, focused), std::vector<int>{});
    EXPECT_EQ(heard(variantList, selected), std::vector<int>{2}) << "its choice is still told";

    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), variantList);
    EXPECT_EQ(heard(rootList, focused), std::vector<int>{});
    EXPECT_EQ(heard(variantList, focused), std::vector<int>{2});
    EXPECT_EQ(variants.chosen, 99u) << "taking the focus chooses nothing";
    press(Qt::Key_Up);
    EXPECT_EQ(variants.chosen, 1u) << "the arrows move on from the choice";
    EXPECT_EQ(roots.chosen, 99u);
}

TEST_F(ScreenReaderTest, NamedPicturesAreGraphicsAndUnnamedOnesDecoration) {
    const auto tuner = openPhone();
    const auto lamp = model<platform::ImageView>(*tuner, "LEDDisplay");
    lamp->setAccessibilityLabel("Lamp");
    lamp->setAccessibilityValue("in tune");
    loop->advance(1.0);
    QAccessibleInterface* spokenLamp = QAccessible::queryAccessibleInterface(widget("LEDDisplay"));
    EXPECT_EQ(spokenLamp->role(), QAccessible::Graphic);
    EXPECT_FALSE(spokenLamp->state().invisible);

    buttonTitled("Chords ›")->click();
    settle();
    // The widgets have no meta-object of their own, so they are told by their type.
    int decoration = 0;
    for (auto* shown : frontend->window()->findChildren<QWidget*>()) {
        auto* picture = dynamic_cast<platform::ui::qt::PictureWidget*>(shown);
        if (!picture || !picture->isVisibleTo(frontend->window())) continue;
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(picture);
        EXPECT_EQ(spoken->role(), QAccessible::Graphic) << picture->objectName().toStdString();
        EXPECT_EQ(spoken->state().invisible, spoken->text(QAccessible::Name).isEmpty()) << picture->objectName().toStdString();
        if (spoken->state().invisible) ++decoration;
    }
    EXPECT_GT(decoration, 0) << "the diagram's dots are not offered one by one";
}

TEST_F(ScreenReaderTest, TheSliderSpeaksTheLevelItShowsNotItsPositions) {
    const auto tuner = openPhone();
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(widget("micSensitivitySlider"));
    ASSERT_NE(spoken, nullptr);
    EXPECT_EQ(spoken->role(), QAccessible::Slider);
    ASSERT_NE(spoken->valueInterface(), nullptr);
    EXPECT_EQ(spoken->valueInterface()->minimumValue().toDouble(), 0.0);
    EXPECT_EQ(spoken->valueInterface()->maximumValue().toDouble(), 10.0);
    EXPECT_EQ(spoken->valueInterface()->minimumStepSize().toDouble(), 1.0);
    EXPECT_EQ(spoken->valueInterface()->currentValue().toDouble(), 5.0);
    EXPECT_EQ(spoken->text(QAccessible::Value), "5");
    // A screen reader that sets the value sets a level.
    spoken->valueInterface()->setCurrentValue(7.0);
    settle();
    EXPECT_EQ(model<platform::Slider>(*tuner, "micSensitivitySlider")->value(), 7.0f);
}

TEST_F(ScreenReaderTest, AFastChangingTextIsSpokenAFewTimesASecondAndOnlyWhenItChanges) {
    const auto tuner = openPhone();
    const auto frequency = model<platform::Label>(*tuner, "freq_label");
    QWidget* shown = widget("freq_label");
    // The name a screen reader is sent, looked at after each step of time.
    int changes = 0;
    QString heard = shown->accessibleName();
    const auto pass = [&](double seconds) {
        loop->advance(seconds);
        if (shown->accessibleName() != heard) ++changes;
        heard = shown->accessibleName();
    };
    // One second of a string in tune, a new reading every tick.
    for (int tick = 0; tick < 100; ++tick) {
        frequency->setText(QString("440.%1Hz").arg(tick % 10).toStdString());
        pass(0.01);
    }
    EXPECT_GE(changes, 2);
    EXPECT_LE(changes, 4) << "a hundred readings, a few spoken";
    pass(1.0);
    EXPECT_EQ(heard, "440.9Hz") << "the last reading is spoken once things are quiet";

    changes = 0;
    frequency->setText("441.0Hz");
    pass(0.0);
    frequency->setText("440.9Hz");
    pass(1.0);
    EXPECT_EQ(changes, 2) << "said at once after a quiet spell, and the way back once its time came";
}

}  // namespace

