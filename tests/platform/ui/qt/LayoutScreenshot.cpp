// Draws a layout's tuner screen (with "fork", its tuning-fork panel open; with
// "apps", scrolled to its end with the other applications' panel open; with
// "chords", its chord chart; with "notice", the demo recording's notice above
// it; with "guide:NOTE:CENTS[,CENTS...]", plucks of a string that far from
// the course's pitch, one after another, "CENTS+CENTS" both strings of the
// course together, and ":lock" at the end the guide locked on the course) in
// the desktop window and saves the window as a PNG, for the documentation:
//
//     platform_layout_screenshot LAYOUT CLASS:HEIGHT OUT.png [fork|apps|chords|notice|guide:A4:-20]
//     platform_layout_screenshot Main_iPhone12Pro phone:844 pair.png guide:A4:-1+3
//     platform_layout_screenshot Main_iPhone12Pro phone:844 locked.png guide:A4:-110:lock
//
// The scenes are bound to recording stand-ins, so the screen shows what the
// layout gives it plus a sample state set here: the tuner matching A4, the
// chord chart showing C7. For "guide" the real tuning loop runs on the
// guide's readings of synthetic plucks and the detector's estimate of the last
// buffer, with the stand-in's elements as its outlets.

#include <QApplication>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/audio/AudioNotice.h"
#include "platform/core/Bundle.h"
#include "platform/core/RunLoop.h"
#include "platform/launch/ApplicationMainOptions.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Image.h"
#include "platform/ui/qt/WindowFrontend.h"
#include "tests/platform/ui/LayoutControllers.h"
#include "tests/platform/ui/qt/PluckOnTheTuner.h"

namespace {

// The tuned-string picture suffix of a screen class.
std::string stringPictureSuffix(const platform::DeviceDescription& device) {
    if (device.userInterfaceIdiom == platform::Device::kIdiomTablet) {
        return device.screenHeight == 1024 ? "_iPad" : "_iPad_Pro";
    }
    if (device.screenHeight == 480) return "";
    if (device.screenHeight == 568) return "_5";
    if (device.screenHeight == 667) return "_6";
    return "_6plus";
}

template <typename T>
std::shared_ptr<T> outlet(const layout_testing::RecordingController& screen, const std::string& name) {
    return std::dynamic_pointer_cast<T>(screen.outletView(name));
}

void showTunerOnA4(const layout_testing::RecordingController& tuner, const platform::DeviceDescription& device) {
    outlet<platform::Label>(tuner, "noteDisplay")->setText("A4");
    outlet<platform::Label>(tuner, "freq_label")->setText("440Hz");
    outlet<platform::ImageView>(tuner, "LEDDisplay")->setImage(platform::imageNamed("green64.png"));
    outlet<platform::ImageView>(tuner, "LEDDisplay128")->setImage(platform::imageNamed("green128.png"));
    for (const char* name : {"tunedString", "tunedString5", "tunedStringiPad"}) {
        if (auto view = outlet<platform::ImageView>(tuner, name)) {
            view->setHidden(false);
            view->setImage(platform::imageNamed("2nd_string" + stringPictureSuffix(device) + ".png"));
        }
    }
}

void showChordsOnC7(const layout_testing::RecordingController& chords) {
    outlet<platform::Label>(chords, "chordDisplay")->setText("C7");
    for (const char* open : {"string1Status", "string3Status", "string4Status", "string5Status"}) {
        outlet<platform::ImageView>(chords, open)->setImage(platform::imageNamed("circle.png"));
    }
    outlet<platform::ImageView>(chords, "Str2Fr1")->setImage(platform::imageNamed("dot.png"));
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string view = arguments.size() == 4 ? arguments[3] : "tuner";
    const auto pluck = screenshot_testing::parsePluck(view);
    if (arguments.size() < 3 || arguments.size() > 4 ||
        (view != "tuner" && view != "fork" && view != "apps" && view != "chords" && view != "notice" && !pluck)) {
        std::fprintf(stderr,
                     "usage: %s LAYOUT phone:HEIGHT|tablet:HEIGHT OUT.png "
                     "[fork|apps|chords|notice|guide:NOTE:CENTS[+CENTS][,CENTS[+CENTS]...][:lock]]\n",
                     argv[0]);
        return 2;
    }
    const std::vector<std::string> screen = {"--screen", arguments[1]};
    const auto parsed = platform::parseLaunchOptions(screen);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "%s\n", parsed.error.c_str());
        return 2;
    }
    platform::Device::setCurrent(parsed.options.device);
    platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(platform::RunLoop::Clock::Virtual));

    const auto tuner = layout_testing::installLayout(arguments[0]);
    if (!tuner) return 1;
    // Drawn at the screen class's own size, never at a size the user gave the window.
    QTemporaryDir noRememberedSize;
    setenv("XDG_CONFIG_HOME", noRememberedSize.path().toLocal8Bit().constData(), 1);
    platform::ui::qt::WindowFrontend frontend;
    if (!frontend.hasDisplay()) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    if (pluck) {
        screenshot_testing::tuneOnce(*tuner, *pluck);
    } else {
        showTunerOnA4(*tuner, parsed.options.device);
    }
    if (view == "notice") {
        platform::showAudioNotice(platform::Bundle::mainBundle()->localizedString("DemoRecordingNotice", "", ""));
    }
    frontend.show();
    // At the screen class's own size in points, whatever the desktop: one
    // pixel per point, with room for the scroll bar of a scene that scrolls.
    const platform::Rect bounds = platform::Screen::mainBounds();
    const bool scrolls = frontend.window()->findChild<QScrollArea*>() != nullptr;
    frontend.window()->resize(static_cast<int>(bounds.width) + (scrolls ? platform::ui::qt::ScreenRenderer::kScrollBarWidth : 0),
                              static_cast<int>(bounds.height));
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    if (view == "fork") {
        std::dynamic_pointer_cast<platform::Button>(tuner->outletView("tuningForkButton"))->userTap();
        outlet<platform::Label>(*tuner, "tfnoteDisplay")->setText("E5");
        outlet<platform::Label>(*tuner, "tfFreqLabel")->setText("659.3Hz");
    }
    if (view == "apps") {
        for (auto* button : frontend.window()->findChildren<QPushButton*>()) {
            if (button->text() == "More apps") button->click();
        }
        if (auto* area = frontend.window()->findChild<QScrollArea*>()) {
            area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        }
    }
    if (view == "chords") {
        // The button's title in the language in use.
        const QString title =
            QString::fromStdString(platform::Bundle::mainBundle()->localizedString("Chords ›", "", "Main"));
        for (auto* button : frontend.window()->findChildren<QPushButton*>()) {
            if (button->text() == title) button->click();
        }
        QApplication::processEvents();
        const auto chords = std::dynamic_pointer_cast<layout_testing::RecordingController>(tuner->presentedViewController());
        if (!chords) return 1;
        showChordsOnC7(*chords);
    }
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
    return frontend.window()->grab().save(QString::fromStdString(arguments[2])) ? 0 : 1;
}
