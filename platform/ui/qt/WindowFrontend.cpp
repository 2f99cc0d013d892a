#include "platform/ui/qt/WindowFrontend.h"

#include <QCloseEvent>
#include <QResizeEvent>
#include <clocale>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <functional>

#include "platform/core/Device.h"
#include "platform/core/NotificationCenter.h"
#include "platform/ui/qt/MicrophoneMenu.h"
#include "platform/ui/qt/RunLoopPump.h"
#include "platform/ui/qt/Widgets.h"
#include "platform/ui/qt/XdgUrlOpener.h"

namespace platform::ui::qt {
namespace {

// Room the desktop's window frame and panels take around the window.
constexpr int kFrameAllowance = 64;
// Below this many pixels per point body text grows hard to read (12 pixels
// for the 15-point body): a smaller window scrolls instead.
constexpr double kMinimumScale = 0.8;
// A maximised window on a large desktop grows the layout this far at most.
constexpr double kMaximumScale = 2.0;
// The window may be made this small; the screen scrolls within it.
constexpr int kMinimumWindowSide = 200;

// Tried in order when the user names no platform; "offscreen" last means no
// display could be opened, which is how the frontend finds out.
constexpr const char* kPlatformsToTry = "wayland;xcb;offscreen";

// Qt's own complaints while it tries displays that are not there.
void quietMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

class MainWindow : public QWidget {
public:
    std::function<void(bool minimised)> onMinimised;
    std::function<void()> onResized;

protected:
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange && onMinimised) {
            const auto* change = static_cast<QWindowStateChangeEvent*>(event);
            const bool was = change->oldState() & Qt::WindowMinimized;
            const bool is = windowState() & Qt::WindowMinimized;
            if (was != is) onMinimised(is);
        }
        QWidget::changeEvent(event);
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (onResized) onResized();
    }
    void closeEvent(QCloseEvent* event) override {
        QCoreApplication::quit();
        event->accept();
    }
};

}  // namespace

WindowFrontend::WindowFrontend() : arguments_{"pallqa-tuner"} {
    const bool platformNamed = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    if (!platformNamed) {
        arguments_.push_back("-platform");
        arguments_.push_back(kPlatformsToTry);
    }
    for (auto& argument : arguments_) argv_.push_back(argument.data());
    argv_.push_back(nullptr);
    argc_ = static_cast<int>(arguments_.size());
    const QtMessageHandler previous = qInstallMessageHandler(platformNamed ? nullptr : quietMessages);
    application_ = std::make_unique<QApplication>(argc_, argv_.data());
    qInstallMessageHandler(previous);
    // Qt gives the process the user's locale; every number the program formats
    // keeps the C conventions (a decimal point) whatever the locale.
    std::setlocale(LC_NUMERIC, "C");
    hasDisplay_ = platformNamed || QGuiApplication::platformName() != QStringLiteral("offscreen");
    if (!hasDisplay_) return;

    QApplication::setApplicationName("pallqa-tuner");
    QApplication::setApplicationDisplayName("Pallqa Tuner");
    QGuiApplication::setDesktopFileName("pallqa-tuner");
    previousOpener_ = Application::sharedApplication().urlOpener();
    Application::sharedApplication().setUrlOpener(std::make_shared<XdgUrlOpener>());
    Application::sharedApplication().setIdleTimerObserver([this](bool disabled) { awake_.keepAwake(disabled); });
    // The program as a whole gains or loses the user's attention; moving focus
    // between its own windows (an alert's dialog, say) is neither.
    QObject::connect(application_.get(), &QGuiApplication::applicationStateChanged,
                     [this](Qt::ApplicationState state) { activationChanged(state == Qt::ApplicationActive); });
}

WindowFrontend::~WindowFrontend() {
    if (hasDisplay_) {
        Application::sharedApplication().setIdleTimerObserver({});
        Application::sharedApplication().setUrlOpener(previousOpener_);
    }
    notice_.reset();
    renderer_.reset();
    window_.reset();
}

void WindowFrontend::show() {
    const Rect screen = Screen::mainBounds();
    QSize room(static_cast<int>(screen.width), static_cast<int>(screen.height));
    if (const QScreen* desktop = QGuiApplication::primaryScreen()) {
        room = desktop->availableGeometry().size() - QSize(kFrameAllowance, kFrameAllowance);
    }
    const double fitting = std::min({1.0, room.height() / screen.height, room.width() / screen.width});
    auto window = std::make_unique<MainWindow>();
    window->onMinimised = [this](bool minimised) { minimisedChanged(minimised); };
    window->onResized = [this] { scheduleFit(); };
    window->setWindowTitle("Pallqa Tuner");
    window->setAutoFillBackground(true);
    window->setMinimumSize(kMinimumWindowSide, kMinimumWindowSide);
    QPalette colours = window->palette();
    colours.setColor(QPalette::Window, palette::kWindow);
    window->setPalette(colours);
    notice_.reset();
    renderer_.reset();
    window_ = std::move(window);
    renderer_ = std::make_unique<ScreenRenderer>(window_.get());
    // The window opens as large as the screen class at a legible scale, as
    // far as the desktop has room, unless the user gave it a size before.
    renderer_->setViewport(QSize(), std::max(fitting, kMinimumScale));
    sizeMemory_ = std::make_unique<WindowSizeMemory>(screen);
    window_->resize(sizeMemory_->remembered().value_or(renderer_->stageSize().boundedTo(room)));
    fitToWindow();
    // Ctrl+Q quits as the window's close button does; Escape closes the open
    // panel or leaves the screen, as its Done or back button would.
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), window_.get());
    QObject::connect(quit, &QShortcut::activated, [] { QCoreApplication::quit(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window_.get());
    QObject::connect(escape, &QShortcut::activated, [this] { renderer_->pressCloseControl(); });
    notice_ = std::make_unique<AudioNoticeBanner>(window_.get());
    addMicrophoneMenu(window_.get());
    window_->show();
    // No control wears the focus ring until the keyboard is used: the first
    // Tab reaches the first control.
    window_->setFocus(Qt::OtherFocusReason);
    awake_.keepAwake(Application::sharedApplication().isIdleTimerDisabled());
}

void WindowFrontend::scheduleFit() {
    // A drag resizes many times per frame: draw once for the last size.
    if (fitPending_) return;
    fitPending_ = true;
    QTimer::singleShot(0, window_.get(), [this] {
        fitPending_ = false;
        fitToWindow();
    });
}

void WindowFrontend::fitToWindow() {
    if (!window_ || !renderer_) return;
    const Rect screen = Screen::mainBounds();
    const QSize size = window_->size();
    const double fitting = std::min(size.width() / screen.width, size.height() / screen.height);
    const double scale = std::clamp(fitting, kMinimumScale, kMaximumScale);
    if (size != renderer_->stageSize() || scale != renderer_->scale()) renderer_->setViewport(size, scale);
    if (window_->isVisible()) sizeMemory_->remember(size);
}

double WindowFrontend::scale() const { return renderer_ ? renderer_->scale() : 1.0; }

int WindowFrontend::run(RunLoop& loop, ApplicationDelegate& delegate, std::optional<double> seconds) {
    delegate_ = &delegate;
    show();
    RunLoopPump pump(loop, seconds, [] { QCoreApplication::quit(); });
    pump.start();
    if (seconds && !loop.isVirtual()) {
        QTimer::singleShot(static_cast<int>(*seconds * 1000.0), application_.get(), [] { QCoreApplication::quit(); });
    }
    const int status = QApplication::exec();
    delegate_ = nullptr;
    return status;
}

void WindowFrontend::activationChanged(bool active) {
    if (!delegate_ || active == active_) return;
    active_ = active;
    Application& application = Application::sharedApplication();
    if (active) {
        delegate_->applicationDidBecomeActive(application);
        return;
    }
    NotificationCenter::defaultCenter().post(kApplicationWillResignActiveNotification);
    delegate_->applicationWillResignActive(application);
}

void WindowFrontend::minimisedChanged(bool minimised) {
    if (!delegate_) return;
    Application& application = Application::sharedApplication();
    if (minimised) {
        delegate_->applicationDidEnterBackground(application);
    } else {
        delegate_->applicationWillEnterForeground(application);
    }
}

}  // namespace platform::ui::qt
