// The desktop window, drawn by Qt's offscreen platform.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "platform/ui/Alert.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gauge.h"
#include "platform/core/NotificationCenter.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/qt/Widgets.h"
#include "platform/ui/qt/WindowFrontend.h"
#include "platform/ui/qt/XdgUrlOpener.h"
#include "tests/platform/ui/LayoutControllers.h"
#include "tests/platform/ui/qt/QtWindowFixture.h"
#include "tests/support/CommaLocale.h"
#include "tests/support/PlainPlatform.h"

namespace {

using layout_testing::findView;
using layout_testing::RecordingController;

using QtFrontendTest = qt_window_testing::QtWindowTest;

struct Family {
    std::string layout;
    int64_t idiom;
    double height;
    std::string stringView;
};

TEST_F(QtFrontendTest, OpensEachScreenClassAndShowsTheTuner) {
    const Family families[] = {{"Main_iPhone4s", 0, 480, "tunedString"},
                               {"Main_iPhone12Pro", 0, 844, "tunedString5"},
                               {"Main_iPad", 1, 1024, "tunedStringiPad"},
                               {"Main_iPad_Pro_11", 1, 1194, "tunedStringiPad"}};
    for (const auto& family : families) {
        const auto tuner = open(family.layout, family.idiom, family.height);
        ASSERT_NE(tuner, nullptr) << family.layout;
        ASSERT_TRUE(frontend->hasDisplay());
        EXPECT_TRUE(frontend->window()->isVisible());
        for (const auto& [name, view] : tuner->bound) {
            QWidget* shown = widget(name);
            ASSERT_NE(shown, nullptr) << family.layout << " " << name;
            bool visible = true;
            for (const platform::View* v = view.get(); v; v = v->superview()) visible = visible && !v->isHidden();
            EXPECT_EQ(shown->isVisibleTo(frontend->window()), visible) << family.layout << " " << name;
        }
        EXPECT_NE(widget<QLabel>("currentTuningName"), nullptr);
        EXPECT_NE(widget<QSlider>("micSensitivitySlider"), nullptr);
        EXPECT_NE(widget<platform::ui::qt::ToggleSwitch>("freqChartSwitch"), nullptr);
        EXPECT_EQ(widget<QSlider>("micSensitivitySlider")->value(), 500);
        EXPECT_TRUE(widget<platform::ui::qt::ToggleSwitch>("freqChartSwitch")->isChecked());
        EXPECT_EQ(widget<platform::ui::qt::PictureWidget>("freqChart")->picture()->name, "freqchart.png");
        EXPECT_NE(widget(family.stringView), nullptr) << family.layout;
        // Phones scroll through the long tuner screen; tablets show all of it
        // where the window has room for it at a legible scale.
        const platform::Rect screen = platform::Screen::mainBounds();
        const bool roomy = frontend->window()->width() >= std::lround(screen.width * frontend->scale()) &&
                           frontend->window()->height() >= std::lround(screen.height * frontend->scale());
        EXPECT_EQ(widget<QScrollArea>("sceneScroll") != nullptr, family.idiom == 0 || !roomy) << family.layout;
        frontend.reset();
    }
}

TEST_F(QtFrontendTest, UnderACommaLocaleTheProgramStillFormatsNumbersWithADecimalPoint) {
    const testing_support::CommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << testing_support::CommaLocale::kSkipReason;
    std::setlocale(LC_ALL, "C");  // as a program starts; Qt then gives it the user's locale
    open("Main_iPhone12Pro", 0, 844);
    EXPECT_STREQ(std::localeconv()->decimal_point, ".") << comma.name();
    char text[32];
    std::snprintf(text, sizeof text, "%.1fHz", 600.2);
    EXPECT_STREQ(text, "600.2Hz");
}

TEST_F(QtFrontendTest, ScalesDownAScreenTallerThanTheDesktopNoFurtherThanALegibleScale) {
    open("Main_iPad_Pro", 1, 1366);
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_LT(desktop.height(), 1366 * 0.8) << "the offscreen desktop is smaller than the scaled tablet";
    EXPECT_DOUBLE_EQ(frontend->scale(), 0.8);
    EXPECT_LE(frontend->window()->height(), desktop.height());
    EXPECT_NE(widget<QScrollArea>("sceneScroll"), nullptr) << "what the window cannot hold scrolls";
    // Letters shrink with the rest, to no less than 12 pixels for the body: the note's 88 points.
    EXPECT_EQ(widget<QLabel>("noteDisplay")->font().pixelSize(), 70);
    EXPECT_GE(widget<QLabel>("micSensitivityLabel")->font().pixelSize(), 12);
}

TEST_F(QtFrontendTest, ResizingScalesTheLayoutKeepingItsProportionsAndIsRemembered) {
    const struct {
        QSize window;
        double scale;
        bool scrolls;
    } cases[] = {
        {{1229, 1640}, 1.2, false},  // larger: grows with the window
        {{1024, 2000}, 1.0, false},  // the narrower side decides
        {{600, 2000}, 0.8, true},    // never below the legible scale: scrolls
    };
    for (const auto& size : cases) {
        open("Main_iPad_Pro", 1, 1366);
        frontend->window()->resize(size.window);
        settle();
        EXPECT_NEAR(frontend->scale(), size.scale, 0.001) << size.window.width();
        const QRect note = widget("noteDisplay")->geometry();
        const platform::Rect frame = layout_testing::findView(
            platform::Application::sharedApplication()->keyWindow()->rootViewController()->view(), "noteDisplay")->frame();
        EXPECT_NEAR(note.width(), frame.width * size.scale, 1.0);
        EXPECT_NEAR(note.height(), frame.height * size.scale, 1.0);
        EXPECT_EQ(widget<QScrollArea>("sceneScroll") != nullptr, size.scrolls) << size.window.width();
        const QSize had = frontend->window()->size();
        frontend.reset();

        open("Main_iPad_Pro", 1, 1366);
        const QSize opened = frontend->window()->size();
        const QSize desktop = frontend->window()->screen()->availableGeometry().size();
        EXPECT_TRUE(opened.width() <= desktop.width() && opened.height() <= desktop.height())
            << "the window opens at the size it had, as far as the screen holds it: " << had.width() << "x"
            << had.height() << " opened " << opened.width() << "x" << opened.height();
        frontend.reset();
    }
    open("Main_iPad_Pro", 1, 1366);
    const QSize fits = frontend->window()->size() - QSize(0, 7);
    frontend->window()->resize(fits);
    settle();
    frontend.reset();
    open("Main_iPad_Pro", 1, 1366);
    EXPECT_EQ(frontend->window()->size(), fits) << "a size the screen holds is kept as it was";
    frontend.reset();
    open("Main_iPhone12Pro", 0, 844);
    EXPECT_NE(frontend->window()->size(), QSize(600, 2000)) << "each screen class has its own size";
}

TEST_F(QtFrontendTest, ARememberedSizeIsBroughtWithinTheScreenAtTheScaleItOpensWith) {
    open("Main_iPhone12Pro", 0, 844);
    frontend->window()->resize(1500, 1100);
    settle();
    frontend.reset();

    // Twice the scale: the offscreen desktop holds half as many of Qt's pixels.
    setenv("QT_SCALE_FACTOR", "2", 1);
    open("Main_iPhone12Pro", 0, 844);
    unsetenv("QT_SCALE_FACTOR");
    const QRect desktop = frontend->window()->screen()->availableGeometry();
    const QSize opened = frontend->window()->size();
    EXPECT_LE(opened.width(), desktop.width());
    EXPECT_LE(opened.height(), desktop.height());
    EXPECT_GE(opened.width(), std::lround(390 * frontend->scale())) << "no narrower than the screen at its scale";
}

TEST_F(QtFrontendTest, AWindowMadeTooSmallScrollsAndNeverCutsOffTheScreensSide) {
    open("Main_iPhone12Pro", 0, 844);
    frontend->window()->resize(250, 150);
    settle();
    EXPECT_GE(frontend->window()->width(), std::lround(390 * 0.8)) << "the narrowest legible width";
    auto* area = widget<QScrollArea>("sceneScroll");
    ASSERT_NE(area, nullptr);
    EXPECT_LE(area->widget()->width(), area->viewport()->width()) << "the whole width is seen";
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0) << "the rest of the page scrolls";
}

TEST_F(QtFrontendTest, TextsAreDrawnInAFaceThatHasTheSharpAndFlatSigns) {
    open("Main_iPhone12Pro", 0, 844);
    for (const char* name : {"currentTuningName", "noteDisplay", "micSensitivityLabel"}) {
        const QFont font = widget(name)->font();
        EXPECT_EQ(QFontInfo(font).family().toStdString(), "DejaVu Sans") << name;
        const QFontMetrics metrics(font);
        EXPECT_TRUE(metrics.inFontUcs4(0x266D) && metrics.inFontUcs4(0x266F)) << name;
    }
}

TEST_F(QtFrontendTest, AWindowWithoutALayoutSaysWhichScreensHaveOne) {
    const struct {
        const char* language;
        const char* heading;
    } cases[] = {{"en", "No layout for this screen"}, {"es", "No hay diseño para esta pantalla"}};
    platform::Application::sharedApplication()->setNoWindowExplanation("The phone layouts serve heights 480 and 568.");
    for (const auto& c : cases) {
        platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(testing_support::resourcesFolder(), c.language));
        frontend.reset();  // one at a time: the frontend owns the application object
        frontend = std::make_unique<platform::ui::qt::WindowFrontend>();
        frontend->show();
        settle();
        QStringList texts;
        for (const QLabel* label : frontend->window()->findChildren<QLabel*>()) texts << label->text();
        EXPECT_TRUE(texts.contains(QString::fromStdString(c.heading) +
                                   "\n\nThe phone layouts serve heights 480 and 568."))
            << c.language << ": " << texts.join(" | ").toStdString();
    }
}

TEST_F(QtFrontendTest, ModelChangesReachTheWidgets) {
    const auto tuner = open("Main_iPhone12Pro", 0, 844);
    std::dynamic_pointer_cast<platform::Label>(tuner->outletView("noteDisplay"))->setText("A4");
    auto string = std::dynamic_pointer_cast<platform::ImageView>(tuner->outletView("tunedString5"));
    string->setHidden(false);
    string->setImage(platform::imageNamed("2nd_string_6plus.png"));
    std::dynamic_pointer_cast<platform::Switch>(tuner->outletView("soundNotificationSwitch"))->setOn(false);
    std::dynamic_pointer_cast<platform::Slider>(tuner->outletView("micSensitivitySlider"))->setValue(8.0f);

    EXPECT_EQ(widget<QLabel>("noteDisplay")->text(), "A4");
    EXPECT_TRUE(widget("tunedString5")->isVisibleTo(frontend->window()));
    EXPECT_EQ(widget<platform::ui::qt::PictureWidget>("tunedString5")->picture()->name, "2nd_string_6plus.png");
    EXPECT_FALSE(widget<platform::ui::qt::ToggleSwitch>("soundNotificationSwitch")->isChecked());
    EXPECT_EQ(widget<QSlider>("micSensitivitySlider")->value(), 800);
    EXPECT_TRUE(tuner->received.empty()) << "changes made by the program send no actions";
}

TEST_F(QtFrontendTest, UserActionsReachTheModel) {
    const auto tuner = open("Main_iPhone12Pro", 0, 844);
    widget<platform::ui::qt::ToggleSwitch>("stringSoundsSwitch")->click();
    EXPECT_FALSE(std::dynamic_pointer_cast<platform::Switch>(tuner->outletView("stringSoundsSwitch"))->isOn());
    widget<QSlider>("micSensitivitySlider")->setValue(700);
    EXPECT_EQ(std::dynamic_pointer_cast<platform::Slider>(tuner->outletView("micSensitivitySlider"))->value(), 7.0f);
    widget<QPushButton>("tuningForkButton")->click();
    settle();
    EXPECT_TRUE(widget("tuningForkPanel")->isVisibleTo(frontend->window()));
    EXPECT_EQ(tuner->received, (std::vector<std::string>{"toggleStringSounds:", "micSensitivity:",
                                                         "disableTemporarilySoundConfirmation:"}));
}

TEST_F(QtFrontendTest, ShowsThePresentedScreenAndGoesBack) {
    const auto tuner = open("Main_iPhone12Pro", 0, 844);
    QPushButton* chordsButton = nullptr;
    for (auto* button : frontend->window()->findChildren<QPushButton*>()) {
        if (button->text() == "Chords ›") chordsButton = button;
    }
    ASSERT_NE(chordsButton, nullptr);
    chordsButton->click();
    settle();
    const auto chords = std::dynamic_pointer_cast<RecordingController>(tuner->presentedViewController());
    ASSERT_NE(chords, nullptr);
    EXPECT_EQ(widget("noteDisplay"), nullptr) << "the chord chart replaces the tuner";
    ASSERT_NE(widget("selectRootChord"), nullptr);
    EXPECT_EQ(widget<platform::ui::qt::PictureWidget>("fretboard")->picture()->name, "fretboard.png");

    // A picker shows its data source's rows and reports the user's choice.
    qt_window_testing::ThreeRows roots;
    auto picker = std::dynamic_pointer_cast<platform::PickerView>(chords->outletView("selectRootChord"));
    picker->setDataSource(&roots);
    picker->setDelegate(&roots);
    picker->selectRow(1, 0, false);
    auto* list = widget("selectRootChord")->findChild<platform::ui::qt::ChoiceList*>();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), "C");
    EXPECT_EQ(list->chosenRow(), 1);
    EXPECT_EQ(roots.chosen, 99u) << "the program's own selection is not the user's";
    list->setCurrentRow(2);
    EXPECT_EQ(roots.chosen, 2u);
    EXPECT_EQ(picker->selectedRowInComponent(0), 2);

    for (auto* button : frontend->window()->findChildren<QPushButton*>()) {
        if (button->text() == "‹ Tuner") button->click();
    }
    settle();
    EXPECT_EQ(tuner->presentedViewController(), nullptr);
    EXPECT_NE(widget("noteDisplay"), nullptr);
    EXPECT_EQ(tuner->appearances, 1);
}

TEST_F(QtFrontendTest, AlertsAreDialogsWhoseButtonsAnswerThem) {
    const auto tuner = open("Main_iPhone12Pro", 0, 844);
    std::vector<std::string> answered;
    auto alert = std::make_shared<platform::AlertController>("Rate Pallqa Tuner", "Would you rate it?",
                                                             platform::AlertControllerStyle::Alert);
    for (const char* title : {"Rate Pallqa Tuner", "Remind me later", "No, Thanks"}) {
        alert->addAction(platform::AlertAction(title, platform::AlertActionStyle::Default,
                                               [&](const platform::AlertAction& action) { answered.push_back(action.title()); }));
    }
    tuner->presentViewController(alert, true);
    settle();
    QDialog* dialog = frontend->window()->findChild<QDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(widget("noteDisplay"), nullptr) << "the screen stays under the alert";
    auto* remind = dialog->findChild<QPushButton*>("alertButton1");
    ASSERT_NE(remind, nullptr);
    EXPECT_EQ(remind->text(), "Remind me later");
    remind->click();
    settle();
    EXPECT_EQ(answered, (std::vector<std::string>{"Remind me later"}));
    EXPECT_EQ(tuner->presentedViewController(), nullptr);
    EXPECT_EQ(frontend->window()->findChild<QDialog*>(), nullptr);

    struct Delegate : platform::AlertViewDelegate {
        void alertViewDidDismissWithButtonIndex(platform::AlertView&, int64_t index) override { dismissed = index; }
        int64_t dismissed = -5;
    };
    auto delegate = std::make_shared<Delegate>();
    auto legacy = std::make_shared<platform::AlertView>("Rate", "Please", delegate, "No, Thanks",
                                                        std::vector<std::string>{"Rate"});
    legacy->show();
    settle();
    dialog = frontend->window()->findChild<QDialog*>();
    ASSERT_NE(dialog, nullptr);
    dialog->reject();
    settle();
    EXPECT_EQ(delegate->dismissed, 0) << "closing the dialog answers with its cancel button";
    EXPECT_FALSE(legacy->isVisible());
}

// Records the activation changes the window reports.
class ActivityDelegate : public platform::ApplicationDelegate {
public:
    const std::shared_ptr<platform::Window>& window() const override { return window_; }
    void setWindow(std::shared_ptr<platform::Window> window) override { window_ = std::move(window); }
    bool applicationDidFinishLaunchingWithOptions(platform::Application&, const platform::LaunchOptionsDictionary&) override {
        return true;
    }
    void applicationWillResignActive(platform::Application&) override { events.push_back("resign"); }
    void applicationDidEnterBackground(platform::Application&) override { events.push_back("background"); }
    void applicationWillEnterForeground(platform::Application&) override { events.push_back("foreground"); }
    void applicationDidBecomeActive(platform::Application&) override { events.push_back("active"); }
    void applicationWillTerminate(platform::Application&) override {}
    std::vector<std::string> events;

private:
    std::shared_ptr<platform::Window> window_;
};

TEST_F(QtFrontendTest, RunsTheLoopAndReportsFocusChanges) {
    open("Main_iPhone12Pro", 0, 844);
    int resignNotices = 0;
    platform::NotificationCenter::defaultCenter().addObserver(platform::kApplicationWillResignActiveNotification,
                                                              [&] { ++resignNotices; });
    ActivityDelegate delegate;
    int ticks = 0;
    const auto timer = loop->scheduleRepeating(0.01, [&] { ++ticks; });
    loop->performAfterDelay(0.05, [] { emit qApp->applicationStateChanged(Qt::ApplicationInactive); });
    loop->performAfterDelay(0.10, [] { emit qApp->applicationStateChanged(Qt::ApplicationActive); });
    EXPECT_EQ(frontend->run(*loop, delegate, 0.25), 0);
    timer->invalidate();
    EXPECT_DOUBLE_EQ(loop->elapsed(), 0.25) << "a virtual clock runs to the end of the run, then Qt quits";
    EXPECT_GE(ticks, 24);
    EXPECT_EQ(delegate.events, (std::vector<std::string>{"resign", "active"}));
    EXPECT_EQ(resignNotices, 1);
}

// A stand-in for xdg-open, first in PATH, that writes each argument it gets on a line of its own.
class XdgOpenTest : public testing_support::PlainPlatformTest {
protected:
    void SetUp() override {
        PlainPlatformTest::SetUp();
        folder = testing_support::temporaryFolder();
        record = folder / "argv.txt";
        const auto script = folder / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\nfor argument in \"$@\"; do printf '%s\\n' \"$argument\" >> '"
                              << record.string() << ".part'; done\nmv '" << record.string() << ".part' '"
                              << record.string() << "'\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        previousPath = std::getenv("PATH");
        setenv("PATH", (folder.string() + ":" + previousPath).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", previousPath.c_str(), 1);
        PlainPlatformTest::TearDown();
    }

    // The arguments the stand-in got, once it has finished (it runs detached).
    std::vector<std::string> arguments() {
        for (int i = 0; i < 500 && !std::filesystem::exists(record); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::vector<std::string> lines;
        std::ifstream in(record);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        std::filesystem::remove(record);
        return lines;
    }

    std::filesystem::path folder;
    std::filesystem::path record;
    std::string previousPath;
};

TEST_F(XdgOpenTest, OpensAddressesWithoutAShell) {
    platform::ui::qt::XdgUrlOpener opener;
    opener.open("itms-apps://apps.apple.com/app/id1234567890?action=write-review");
    EXPECT_EQ(arguments(), (std::vector<std::string>{"https://apps.apple.com/app/id1234567890?action=write-review"}));

    const auto marker = folder / "marker";
    const std::string hostile = "https://example.com/a;touch " + marker.string() + " $(touch " + marker.string() + ")";
    opener.open(hostile);
    EXPECT_EQ(arguments(), (std::vector<std::string>{hostile}));
    EXPECT_FALSE(std::filesystem::exists(marker)) << "no shell read the address";
}

TEST(DesktopAddressTest, StoreAddressesOpenOnTheWebAndNonAddressesNowhere) {
    const std::pair<std::string, std::string> cases[] = {
        {"itms-apps://itunes.apple.com/app/id1?action=write-review", "https://itunes.apple.com/app/id1?action=write-review"},
        {"https://example.com/", "https://example.com/"},
        {"mailto:someone@example.com", "mailto:someone@example.com"},
        {"--help", ""},
        {"-x:y", ""},
        {"no scheme here", ""},
        {":nothing", ""},
        {"", ""},
    };
    for (const auto& [url, expected] : cases) EXPECT_EQ(platform::ui::qt::desktopAddress(url), expected) << url;
}

TEST_F(XdgOpenTest, RefusesTextThatIsNotAnAddress) {
    platform::ui::qt::XdgUrlOpener opener;
    opener.open("--version");
    EXPECT_TRUE(log->contains("Not an address, not opened: --version"));
}

// The colour of the gauge's needle at `value` on the scale, taken from its drawing.
QColor needleColourAt(QWidget* gauge, float value) {
    const QImage image = gauge->grab().toImage();
    const double needleWidth = std::max(3.0, gauge->height() * 0.2);
    const double track = gauge->width() - 2.0 * needleWidth;
    const double x = needleWidth + (value + 50.0) / 100.0 * track;
    return image.pixelColor(static_cast<int>(x), static_cast<int>(gauge->height() * 0.15));
}

TEST_F(QtFrontendTest, DrawsTheGuidesNeedleInTheLampsColoursAndNamesItForAScreenReader) {
    const auto tuner = open("Main_iPhone12Pro", 0, 844);
    const auto needle = std::dynamic_pointer_cast<platform::Gauge>(tuner->outletView("guideNeedle"));
    ASSERT_NE(needle, nullptr);
    QWidget* drawn = widget("guideNeedle");
    ASSERT_NE(drawn, nullptr);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(drawn);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::ProgressBar) << "a level indicator screen readers know";
    EXPECT_EQ(accessible->text(QAccessible::Name), "Tuning needle");
    ASSERT_NE(accessible->valueInterface(), nullptr);
    EXPECT_FALSE(accessible->valueInterface()->currentValue().isValid());

    const QColor amber(0xff, 0xc6, 0x2b);
    const QColor green(0x2f, 0xdc, 0x7f);
    needle->setValue(-20.0f, "-20.0 cents, tune up");
    loop->advance(1.0);  // at the pace a reader follows
    EXPECT_EQ(accessible->text(QAccessible::Value), "-20.0 cents, tune up");
    EXPECT_EQ(accessible->valueInterface()->currentValue().toDouble(), -20.0);
    EXPECT_EQ(accessible->valueInterface()->minimumValue().toDouble(), -50.0);
    EXPECT_EQ(accessible->valueInterface()->maximumValue().toDouble(), 50.0);
    EXPECT_EQ(needleColourAt(drawn, -20.0f), amber);

    needle->setValue(3.0f, "+3.0 cents, in tune");
    EXPECT_EQ(needleColourAt(drawn, 3.0f), green);

    // Far sharp: pinned at the scale's end, the value still the whole offset.
    needle->setValue(80.0f, "+80.0 cents, tune down");
    EXPECT_EQ(needleColourAt(drawn, 50.0f), amber);
    EXPECT_EQ(accessible->valueInterface()->currentValue().toDouble(), 80.0);
}

}  // namespace

namespace {

// Counts the paint events each widget of a window receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* window) {
        for (auto* child : window->findChildren<QWidget*>()) child->installEventFilter(this);
    }
    std::map<QString, int> painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++painted[watched->objectName()];
        return false;
    }
};

TEST_F(QtFrontendTest, ATickThatChangesNothingPaintsNothingAndAChangePaintsOnlyItsElement) {
    const auto tuner = open("Main_iPhone12Pro", 0, 844);
    for (int i = 0; i < 5; ++i) settle();
    const auto note = std::dynamic_pointer_cast<platform::Label>(tuner->outletView("noteDisplay"));
    const auto lamp = std::dynamic_pointer_cast<platform::ImageView>(tuner->outletView("LEDDisplay"));
    const auto string = tuner->outletView("tunedString5");
    PaintCounter counter(frontend->window());

    // What a quiet tick does: the same texts, pictures and visibility again.
    for (int tick = 0; tick < 10; ++tick) {
        note->setText(note->text());
        lamp->setImage(lamp->image());
        lamp->setAccessibilityValue(lamp->accessibilityValue());
        string->setHidden(string->isHidden());
        settle();
    }
    EXPECT_TRUE(counter.painted.empty()) << counter.painted.begin()->first.toStdString();

    note->setText("A4");
    settle();
    std::set<QString> repainted;
    for (const auto& [name, count] : counter.painted) {
        if (!name.isEmpty()) repainted.insert(name);
    }
    EXPECT_EQ(repainted, std::set<QString>{"noteDisplay"}) << "named elements besides the note were drawn again";
}

}  // namespace
