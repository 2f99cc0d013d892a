#pragma once
// The desktop window: one resizable top-level window showing the key window's
// screen, scaled to fit it with its proportions kept, never below a legible
// scale (the screen scrolls instead), opening at the size it last had. Focus and minimising become the application's activation changes;
// losing focus posts the will-resign-active notification. Private to
// platform_ui_qt (tests reach the widgets through it); main thread.

#include <QApplication>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/Frontend.h"
#include "platform/ui/qt/AudioNoticeBanner.h"
#include "platform/ui/qt/ScreenAwake.h"
#include "platform/ui/qt/ScreenRenderer.h"
#include "platform/ui/qt/WindowSizeMemory.h"

namespace platform::ui::qt {

class WindowFrontend : public Frontend {
public:
    // Starts Qt on the platform QT_QPA_PLATFORM names, else on the first of
    // Wayland, X11 that opens; hasDisplay() tells whether one did.
    WindowFrontend();
    ~WindowFrontend() override;
    WindowFrontend(const WindowFrontend&) = delete;
    WindowFrontend& operator=(const WindowFrontend&) = delete;

    bool hasDisplay() const { return hasDisplay_; }

    int run(RunLoop& loop, ApplicationDelegate& delegate, std::optional<double> seconds) override;

    // Builds and shows the window for the key window as it is now.
    void show();
    QWidget* window() const { return window_.get(); }
    // The row of audio notices; null before show().
    const AudioNoticeBanner* notice() const { return notice_.get(); }
    // Widget pixels per point.
    double scale() const;

private:
    void scheduleFit();
    void fitToWindow();
    void activationChanged(bool active);
    void minimisedChanged(bool minimised);

    std::vector<std::string> arguments_;
    std::vector<char*> argv_;
    int argc_ = 0;
    std::unique_ptr<QApplication> application_;
    bool hasDisplay_ = false;
    std::unique_ptr<QWidget> window_;
    QWidget* stage_ = nullptr;  // the window's, below the notices
    std::unique_ptr<ScreenRenderer> renderer_;
    std::unique_ptr<WindowSizeMemory> sizeMemory_;
    bool fitPending_ = false;
    std::unique_ptr<AudioNoticeBanner> notice_;
    ScreenAwake awake_;
    std::shared_ptr<UrlOpener> previousOpener_;
    ApplicationDelegate* delegate_ = nullptr;
    // Launching leaves the application active.
    bool active_ = true;
};

}  // namespace platform::ui::qt
