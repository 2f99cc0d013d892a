#pragma once
// The audio notices (microphone lost, the demo recording playing, no
// loudspeaker …) as strips in a row of their own above the screen, one strip
// per notice, each with a button that dismisses it (by mouse, or Tab to it
// and Space or Enter). The row takes no room while no notice stands. Private
// to platform_ui_qt; main thread.

#include <QPointer>
#include <QWidget>
#include <vector>

class QLabel;
class QPushButton;

namespace platform::ui::qt {

class AudioNoticeBanner {
public:
    // Makes the row as a child of `window`, for its layout to place, and
    // follows the notices while it lives.
    explicit AudioNoticeBanner(QWidget* window);
    ~AudioNoticeBanner();
    AudioNoticeBanner(const AudioNoticeBanner&) = delete;
    AudioNoticeBanner& operator=(const AudioNoticeBanner&) = delete;

    QWidget* row() const { return row_; }
    // The texts of the strips shown, oldest first.
    std::vector<QLabel*> labels() const;
    // Their dismiss buttons, in the same order.
    std::vector<QPushButton*> dismissButtons() const;

private:
    void show(const std::vector<QString>& notices);

    QPointer<QWidget> row_;
};

}  // namespace platform::ui::qt
