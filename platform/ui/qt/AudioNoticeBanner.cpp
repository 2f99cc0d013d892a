#include "platform/ui/qt/AudioNoticeBanner.h"

#include <QEvent>
#include <QLabel>
#include <QMetaObject>
#include <QWidget>

#include "platform/audio/AudioNotice.h"

namespace platform::ui::qt {
namespace {

constexpr int kPadding = 8;

// Keeps the strip above the screen, which is rebuilt as a new child of the
// window whenever the scene changes.
class StaysOnTop : public QObject {
public:
    explicit StaysOnTop(QLabel* label) : QObject(label), label_(label) {}

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::ChildAdded && label_->isVisible()) label_->raise();
        return false;
    }

private:
    QLabel* label_;
};

}  // namespace

AudioNoticeBanner::AudioNoticeBanner(QWidget* window) : label_(new QLabel(window)) {
    label_->setObjectName("audioNotice");
    label_->setWordWrap(true);
    label_->setAlignment(Qt::AlignCenter);
    label_->setMargin(kPadding);
    label_->setStyleSheet("background-color: #fff3c4; color: #3b2f00; font-weight: bold;");
    label_->hide();
    window->installEventFilter(new StaysOnTop(label_));
    // The notice may change on an audio thread; the strip changes on Qt's.
    setAudioNoticeObserver([label = label_, this](const std::string& notice) {
        if (!label) return;
        QMetaObject::invokeMethod(
            label, [this, text = QString::fromStdString(notice)] { show(text); }, Qt::QueuedConnection);
    });
}

AudioNoticeBanner::~AudioNoticeBanner() {
    setAudioNoticeObserver({});
    delete label_;
}

void AudioNoticeBanner::show(const QString& notice) {
    if (!label_) return;
    label_->setText(notice);
    label_->setVisible(!notice.isEmpty());
    if (notice.isEmpty()) return;
    QWidget* window = label_->parentWidget();
    label_->setFixedWidth(window->width());
    label_->setFixedHeight(label_->heightForWidth(window->width()));
    label_->move(0, 0);
    label_->raise();
}

}  // namespace platform::ui::qt
