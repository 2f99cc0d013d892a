#pragma once
// The application object: its windows and key window, the idle-timer flag and
// the opening of addresses.

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ui/ViewController.h"

namespace platform {

class Window : public View {
public:
    static constexpr double kLevelNormal = 0.0;
    static constexpr double kLevelAlert = 2000.0;

    explicit Window(const Rect& frame) { setFrame(frame); }
    const std::shared_ptr<ViewController>& rootViewController() const { return root_; }
    void setRootViewController(std::shared_ptr<ViewController> controller);
    double windowLevel() const { return level_; }
    void setWindowLevel(double level) { level_ = level; }
    // Makes this the application's key window and shows it.
    void makeKeyAndVisible();

private:
    std::shared_ptr<ViewController> root_;
    double level_ = kLevelNormal;
};

// Opens an address outside the program (a browser, the store).
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void open(const std::string& url) = 0;
};

// Keeps every address it is asked to open, and opens none.
class RecordingUrlOpener : public UrlOpener {
public:
    void open(const std::string& url) override;
    std::vector<std::string> opened() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> opened_;
};

class Application {
public:
    // The process's application; a caller keeps the one it was handed for as
    // long as it holds the handle, whatever is reset meanwhile.
    static std::shared_ptr<Application> sharedApplication();

    const std::shared_ptr<Window>& keyWindow() const { return keyWindow_; }
    const std::vector<std::shared_ptr<Window>>& windows() const { return windows_; }
    void makeKeyWindow(std::shared_ptr<Window> window);
    // Forgets every window, and why there is none (tests that start from a clean application).
    void removeAllWindows();

    bool isIdleTimerDisabled() const { return idleTimerDisabled_; }
    void setIdleTimerDisabled(bool disabled);
    // Told when the idle-timer flag changes (a desktop keeps the screen awake).
    void setIdleTimerObserver(std::function<void(bool disabled)> observer) { idleObserver_ = std::move(observer); }

    // Opens `url` through the installed opener (a recording one by default).
    void openURL(const std::string& url);
    void setUrlOpener(std::shared_ptr<UrlOpener> opener) { urlOpener_ = std::move(opener); }
    const std::shared_ptr<UrlOpener>& urlOpener() const { return urlOpener_; }

    // Why there is no window, for a frontend to show in its place (which
    // screens have a layout, say); empty when nothing is known.
    const std::string& noWindowExplanation() const { return noWindowExplanation_; }
    void setNoWindowExplanation(std::string text) { noWindowExplanation_ = std::move(text); }

    // The status bar does not exist here; kept so callers read as they do on a phone.
    void setStatusBarStyle(int) {}

private:
    Application();
    std::shared_ptr<Window> keyWindow_;
    std::vector<std::shared_ptr<Window>> windows_;
    bool idleTimerDisabled_ = false;
    std::function<void(bool)> idleObserver_;
    std::shared_ptr<UrlOpener> urlOpener_;
    std::string noWindowExplanation_;
};

}  // namespace platform
