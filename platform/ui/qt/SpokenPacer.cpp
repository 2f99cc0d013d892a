#include "platform/ui/qt/SpokenPacer.h"

#include <QPointer>
#include <QWidget>

#include "platform/core/RunLoop.h"

namespace platform::ui::qt {

SpokenPacer& SpokenPacer::of(QWidget* widget, std::function<void(const QString& text)> say) {
    if (auto* pacer = widget->findChild<SpokenPacer*>(QString(), Qt::FindDirectChildrenOnly)) return *pacer;
    return *new SpokenPacer(widget, std::move(say));
}

SpokenPacer::SpokenPacer(QWidget* widget, std::function<void(const QString& text)> say)
    : QObject(widget), say_(std::move(say)) {}

void SpokenPacer::setText(const QString& text) {
    pending_ = text;
    if (waiting_) return;
    const double now = RunLoop::main()->now();
    const double wait = saidAny_ ? lastSaid_ + kInterval - now : 0.0;
    if (wait <= 0.0) {
        sayPending();
        return;
    }
    waiting_ = true;
    RunLoop::main()->performAfterDelay(wait, [alive = QPointer<SpokenPacer>(this)] {
        if (!alive) return;
        alive->waiting_ = false;
        alive->sayPending();
    });
}

void SpokenPacer::sayPending() {
    if (saidAny_ && pending_ == said_) return;
    said_ = pending_;
    saidAny_ = true;
    lastSaid_ = RunLoop::main()->now();
    say_(said_);
}

}  // namespace platform::ui::qt
