#pragma once
// The desktop window under Qt's offscreen platform, opened on a layout with
// recording controllers, for the window's tests.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/core/Device.h"
#include "platform/launch/ApplicationMainOptions.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/qt/WindowFrontend.h"
#include "tests/platform/ui/LayoutControllers.h"
#include "tests/support/PlainPlatform.h"

namespace qt_window_testing {

// A picker's source of three rows, "A" to "C", that keeps the row chosen.
struct ThreeRows : platform::PickerViewDataSource, platform::PickerViewDelegate {
    int64_t numberOfComponentsInPickerView(platform::PickerView&) override { return 1; }
    int64_t pickerViewNumberOfRowsInComponent(platform::PickerView&, int64_t) override { return 3; }
    std::string pickerViewTitleForRow(platform::PickerView&, int64_t row, int64_t) override {
        return std::string(1, static_cast<char>('A' + row));
    }
    void pickerViewDidSelectRow(platform::PickerView&, uint64_t row, int64_t) override { chosen = row; }
    uint64_t chosen = 99;  // none yet
};

using layout_testing::RecordingController;

class QtWindowTest : public testing_support::PlainPlatformTest {
protected:
    void SetUp() override {
        PlainPlatformTest::SetUp();
        // Never a window on the developer's desktop, nor its size in their settings.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("XDG_CONFIG_HOME", testing_support::temporaryFolder().c_str(), 1);
    }

    // Installs the layout for the screen class and opens the window on it.
    std::shared_ptr<RecordingController> open(const std::string& layout, int64_t idiom, double height) {
        return std::dynamic_pointer_cast<RecordingController>(
            open(layout, idiom, height, layout_testing::recordingControllerClasses()));
    }
    // The same with the screen controllers `classes` makes.
    std::shared_ptr<platform::ViewController> open(const std::string& layout, int64_t idiom, double height,
                                                   const platform::ControllerFactories& classes) {
        platform::DeviceDescription device;
        device.userInterfaceIdiom = idiom;
        device.screenHeight = height;
        device.screenWidth = platform::screenWidthFor(idiom, height);
        platform::Device::setCurrent(device);
        auto tuner = layout_testing::installLayout(layout, classes);
        frontend = std::make_unique<platform::ui::qt::WindowFrontend>();
        frontend->show();
        settle();
        return tuner;
    }

    // Lets deferred redraws happen.
    static void settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }

    template <typename T = QWidget>
    T* widget(const std::string& name) {
        return frontend->window()->findChild<T*>(QString::fromStdString(name));
    }

    std::unique_ptr<platform::ui::qt::WindowFrontend> frontend;
};

}  // namespace qt_window_testing
