#include "platform/ui/qt/ScreenAwake.h"

#include <optional>

#ifdef PALLQA_HAVE_QTDBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#endif

namespace platform::ui::qt {

struct ScreenAwake::State {
    bool wanted = false;
    bool requested = false;               // an inhibition is held or on its way
    std::optional<uint32_t> cookie;       // the service's handle of the inhibition
};

#ifdef PALLQA_HAVE_QTDBUS
namespace {

QDBusMessage screenSaverCall(const char* method) {
    return QDBusMessage::createMethodCall("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                                          "org.freedesktop.ScreenSaver", method);
}

void release(uint32_t cookie) {
    QDBusMessage call = screenSaverCall("UnInhibit");
    call << cookie;
    QDBusConnection::sessionBus().asyncCall(call);
}

}  // namespace
#endif

ScreenAwake::ScreenAwake() : state_(std::make_shared<State>()) {}

ScreenAwake::~ScreenAwake() { keepAwake(false); }

void ScreenAwake::keepAwake(bool awake) {
    state_->wanted = awake;
#ifdef PALLQA_HAVE_QTDBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    if (awake && !state_->requested) {
        state_->requested = true;
        QDBusMessage call = screenSaverCall("Inhibit");
        call << QStringLiteral("Pallqa Tuner") << QStringLiteral("Tuning an instrument");
        // Asynchronous, so a slow or absent service never holds up the window.
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [state = state_](QDBusPendingCallWatcher* done) {
            const QDBusPendingReply<uint32_t> reply = *done;
            done->deleteLater();
            if (reply.isError()) {
                state->requested = false;
                return;
            }
            state->cookie = reply.value();
            if (!state->wanted) {
                release(*state->cookie);
                state->cookie.reset();
                state->requested = false;
            }
        });
    } else if (!awake && state_->cookie) {
        release(*state_->cookie);
        state_->cookie.reset();
        state_->requested = false;
    }
#endif
}

}  // namespace platform::ui::qt
