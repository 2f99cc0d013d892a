#include "platform/ui/qt/WindowFrontend.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
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

namespace platform::qt {
namespace {

// Room the desktop's window frame and panels take around the window.
constexpr int kFrameAllowance = 64;

// Tried in order when the user names no platform; "offscreen" last means no
// display could be opened, which is how the frontend finds out.
constexpr const char* kPlatformsToTry = "wayland;xcb;offscreen";

// Qt's own complaints while it tries displays that are not there.
void quietMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

class MainWindow : public QWidget {
public:
    std::function<void(bool minimised)> onMinimised;

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
    if (const QScreen* desktop = QGuiApplication::primaryScreen()) {
        const QRect room = desktop->availableGeometry();
        scale_ = std::min({1.0, (room.height() - kFrameAllowance) / screen.height,
                           (room.width() - kFrameAllowance) / screen.width});
        scale_ = std::max(scale_, 0.1);
    }
    auto window = std::make_unique<MainWindow>();
    window->onMinimised = [this](bool minimised) { minimisedChanged(minimised); };
    window->setWindowTitle("Pallqa Tuner");
    window->setAutoFillBackground(true);
    QPalette colours = window->palette();
    colours.setColor(QPalette::Window, palette::kWindow);
    window->setPalette(colours);
    notice_.reset();
    renderer_.reset();
    window_ = std::move(window);
    renderer_ = std::make_unique<ScreenRenderer>(window_.get(), scale_);
    renderer_->render();
    window_->setFixedSize(renderer_->stageSize());
    notice_ = std::make_unique<AudioNoticeBanner>(window_.get());
    addMicrophoneMenu(window_.get());
    window_->show();
    awake_.keepAwake(Application::sharedApplication().isIdleTimerDisabled());
}

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

}  // namespace platform::qt
