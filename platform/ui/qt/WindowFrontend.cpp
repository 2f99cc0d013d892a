#include "platform/ui/qt/WindowFrontend.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <clocale>
#include <cmath>
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
// The window may be made this low; the screen scrolls within it. It is never
// made narrower than the screen at the legible scale, which would cut off its side.
constexpr int kMinimumWindowHeight = 200;

// Tried in order when the user names no platform; "offscreen" last means no
// display could be opened, which is how the frontend finds out.
constexpr const char* kPlatformsToTry = "wayland;xcb;offscreen";
// Set, Qt's event loop is its own, not GLib's.
constexpr const char* kNoGlibLoop = "QT_NO_GLIB";

// Qt's own complaints while it tries displays that are not there.
void quietMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

class MainWindow : public QWidget {
public:
    std::function<void(bool minimised)> onMinimised;
    // Moves the focus for Tab (forward) or Shift+Tab when something holds it; false otherwise.
    std::function<bool(bool forward)> onTab;
    // A key no control took ("1"): whether a control of the screen took it then.
    std::function<bool(const QString& key)> onKey;

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
    void keyPressEvent(QKeyEvent* event) override {
        const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (!(plain && onKey && !event->text().isEmpty() && onKey(event->text()))) QWidget::keyPressEvent(event);
    }
    bool focusNextPrevChild(bool next) override {
        return (onTab && onTab(next)) || QWidget::focusNextPrevChild(next);
    }
    void closeEvent(QCloseEvent* event) override {
        QCoreApplication::quit();
        event->accept();
    }
};

// Where the screen is drawn: the window below the notices.
class Stage : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void()> onResized;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (onResized) onResized();
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
    // Qt's own event loop rather than GLib's, unless the user chose: the loop
    // turns a hundred times a second for the tick, and each turn of GLib's
    // costs a quarter more. Nothing of the window needs GLib's loop (it shows
    // no GTK dialog). The choice is the loop's alone: the programs the window
    // starts (a browser) get the environment as it was.
    const bool loopChosen = qEnvironmentVariableIsSet(kNoGlibLoop);
    if (!loopChosen) qputenv(kNoGlibLoop, "1");
    application_ = std::make_unique<QApplication>(argc_, argv_.data());
    if (!loopChosen) qunsetenv(kNoGlibLoop);
    qInstallMessageHandler(previous);
    // Qt gives the process the user's locale; every number the program formats
    // keeps the C conventions (a decimal point) whatever the locale.
    std::setlocale(LC_NUMERIC, "C");
    hasDisplay_ = platformNamed || QGuiApplication::platformName() != QStringLiteral("offscreen");
    if (!hasDisplay_) return;

    QApplication::setApplicationName("pallqa-tuner");
    QApplication::setApplicationDisplayName("Pallqa Tuner");
    QGuiApplication::setDesktopFileName("pallqa-tuner");
    previousOpener_ = Application::sharedApplication()->urlOpener();
    Application::sharedApplication()->setUrlOpener(std::make_shared<XdgUrlOpener>());
    Application::sharedApplication()->setIdleTimerObserver([this](bool disabled) { awake_.keepAwake(disabled); });
    // The program as a whole gains or loses the user's attention; moving focus
    // between its own windows (an alert's dialog, say) is neither.
    QObject::connect(application_.get(), &QGuiApplication::applicationStateChanged,
                     [this](Qt::ApplicationState state) { activationChanged(state == Qt::ApplicationActive); });
}

WindowFrontend::~WindowFrontend() {
    if (hasDisplay_) {
        Application::sharedApplication()->setIdleTimerObserver({});
        Application::sharedApplication()->setUrlOpener(previousOpener_);
    }
    notice_.reset();
    renderer_.reset();
    window_.reset();
}

void WindowFrontend::show() {
    const Rect screen = Screen::mainBounds();
    auto window = std::make_unique<MainWindow>();
    // The desktop screen the window opens on, in Qt's pixels (after any scale
    // factor the user set).
    QSize room(static_cast<int>(screen.width), static_cast<int>(screen.height));
    if (const QScreen* desktop = window->screen()) {
        room = desktop->availableGeometry().size() - QSize(kFrameAllowance, kFrameAllowance);
    }
    const double fitting = std::min({1.0, room.height() / screen.height, room.width() / screen.width});
    window->onMinimised = [this](bool minimised) { minimisedChanged(minimised); };
    window->onTab = [this](bool forward) { return renderer_ && renderer_->focusNextInOpenPanel(forward); };
    window->onKey = [this](const QString& key) { return renderer_ && renderer_->pressKey(key.toStdString()); };
    window->setWindowTitle("Pallqa Tuner");
    window->setAutoFillBackground(true);
    const int legibleWidth = static_cast<int>(std::lround(screen.width * kMinimumScale)) + ScreenRenderer::kScrollBarWidth;
    const QSize minimum = QSize(legibleWidth, kMinimumWindowHeight).boundedTo(room);
    window->setMinimumSize(minimum);
    QPalette colours = window->palette();
    colours.setColor(QPalette::Window, palette::kWindow);
    window->setPalette(colours);
    notice_.reset();
    renderer_.reset();
    window_ = std::move(window);
    // The notices take a row of their own above the screen, which moves down for them.
    auto* rows = new QVBoxLayout(window_.get());
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    notice_ = std::make_unique<AudioNoticeBanner>(window_.get());
    rows->addWidget(notice_->row());
    auto* stage = new Stage(window_.get());
    stage->onResized = [this] { scheduleFit(); };
    rows->addWidget(stage, 1);
    stage_ = stage;
    renderer_ = std::make_unique<ScreenRenderer>(stage);
    // The window opens as large as the screen class at a legible scale, as
    // far as the desktop has room, unless the user gave it a size before.
    renderer_->setViewport(QSize(), std::max(fitting, kMinimumScale));
    sizeMemory_ = std::make_unique<WindowSizeMemory>(screen);
    // A size remembered from a larger screen, or from a smaller scale, is
    // brought within this one.
    const QSize opening = sizeMemory_->remembered().value_or(renderer_->stageSize());
    window_->resize(opening.boundedTo(room).expandedTo(minimum));
    window_->layout()->activate();  // the stage takes its size before the first fit
    fitToWindow();
    // Ctrl+Q quits as the window's close button does; Escape closes the open
    // panel or leaves the screen, as its Done or back button would, or else
    // presses the control it is a key equivalent of.
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), window_.get());
    QObject::connect(quit, &QShortcut::activated, [] { QCoreApplication::quit(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window_.get());
    QObject::connect(escape, &QShortcut::activated,
                     [this] { renderer_->pressCloseControl() || renderer_->pressKey("Escape"); });
    addMicrophoneMenu(window_.get());
    window_->show();
    // No control wears the focus ring until the keyboard is used: the first
    // Tab reaches the first control.
    window_->setFocus(Qt::OtherFocusReason);
    awake_.keepAwake(Application::sharedApplication()->isIdleTimerDisabled());
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
    const QSize size = stage_->size();
    const double fitting = std::min(size.width() / screen.width, size.height() / screen.height);
    const double scale = std::clamp(fitting, kMinimumScale, kMaximumScale);
    if (size != renderer_->stageSize() || scale != renderer_->scale()) renderer_->setViewport(size, scale);
    if (window_->isVisible()) sizeMemory_->remember(window_->size());
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
    const auto application = Application::sharedApplication();
    if (active) {
        delegate_->applicationDidBecomeActive(*application);
        return;
    }
    NotificationCenter::defaultCenter().post(kApplicationWillResignActiveNotification);
    delegate_->applicationWillResignActive(*application);
}

void WindowFrontend::minimisedChanged(bool minimised) {
    if (!delegate_) return;
    const auto application = Application::sharedApplication();
    if (minimised) {
        delegate_->applicationDidEnterBackground(*application);
    } else {
        delegate_->applicationWillEnterForeground(*application);
    }
}

}  // namespace platform::ui::qt
