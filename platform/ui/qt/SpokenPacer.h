#pragma once
// What a screen reader is told of an element that changes often — the
// frequency while a string sounds, the needle's offset — paced so the reader
// can keep up: a new text is said at once after a quiet spell, else when
// kInterval has passed since the last one (the latest text then); a text the
// same as the one said last is not said again. Timed on the main run loop's
// clock, so a virtual clock paces it too. A child of the widget it speaks
// for; private to platform_ui_qt; main thread.

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace platform::ui::qt {

class SpokenPacer : public QObject {
public:
    // At most this many seconds apart: two or three changes a second.
    static constexpr double kInterval = 0.4;

    // The pacer of `widget`, made on first use with `say` telling the reader.
    static SpokenPacer& of(QWidget* widget, std::function<void(const QString& text)> say);

    // Says `text` now or as soon as the pace allows.
    void setText(const QString& text);

private:
    SpokenPacer(QWidget* widget, std::function<void(const QString& text)> say);
    void sayPending();

    std::function<void(const QString&)> say_;
    QString said_;
    QString pending_;
    bool waiting_ = false;
    double lastSaid_ = 0.0;
    bool saidAny_ = false;
};

}  // namespace platform::ui::qt
