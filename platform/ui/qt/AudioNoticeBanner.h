#pragma once
// The audio notice (microphone lost, the demo recording playing, no
// loudspeaker) as a strip across the top of the window, over the screen, for
// as long as the notice stands. Private to platform_ui_qt; main thread.

#include <QLabel>
#include <QPointer>

namespace platform::ui::qt {

class AudioNoticeBanner {
public:
    // Shows the notice in `window` and follows its changes while it lives.
    explicit AudioNoticeBanner(QWidget* window);
    ~AudioNoticeBanner();
    AudioNoticeBanner(const AudioNoticeBanner&) = delete;
    AudioNoticeBanner& operator=(const AudioNoticeBanner&) = delete;

    // The strip; hidden while there is no notice.
    QLabel* label() const { return label_; }

private:
    void show(const QString& notice);

    QPointer<QLabel> label_;
};

}  // namespace platform::ui::qt
