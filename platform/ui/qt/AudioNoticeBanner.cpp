#include "platform/ui/qt/AudioNoticeBanner.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/audio/AudioNotice.h"
#include "platform/core/Bundle.h"

namespace platform::ui::qt {
namespace {

constexpr int kPadding = 8;

// Dark text on a pale amber strip, so a notice stands out from the dark
// screen; the dismiss button's focus ring is drawn in the text's colour.
const QString kStripSheet =
    "QWidget#audioNotice { background-color: #fff3c4; }"
    "QLabel { color: #3b2f00; font-weight: bold; background: transparent; }"
    "QPushButton { color: #3b2f00; background: transparent; border: 2px solid transparent; border-radius: 6px;"
    " font-weight: bold; padding: 2px 8px; }"
    "QPushButton:hover { background: rgba(59, 47, 0, 30); }"
    "QPushButton:pressed { background: rgba(59, 47, 0, 60); }"
    "QPushButton:focus { border-color: #3b2f00; }";

QString localized(const char* key, const char* english) {
    return QString::fromStdString(Bundle::mainBundle()->localizedString(key, english, ""));
}

QWidget* makeStrip(const QString& notice, QWidget* row) {
    auto* strip = new QWidget(row);
    strip->setObjectName("audioNotice");
    strip->setAttribute(Qt::WA_StyledBackground);
    strip->setStyleSheet(kStripSheet);
    auto* line = new QHBoxLayout(strip);
    line->setContentsMargins(kPadding, kPadding / 2, kPadding / 2, kPadding / 2);
    auto* text = new QLabel(notice, strip);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    line->addWidget(text, 1);
    auto* dismiss = new QPushButton(QStringLiteral("\u00d7"), strip);
    dismiss->setObjectName("dismissNotice");
    dismiss->setAccessibleName(localized("DismissNotice", "Dismiss notice"));
    dismiss->setAccessibleDescription(notice);
    dismiss->setToolTip(localized("DismissNotice", "Dismiss notice"));
    dismiss->setCursor(Qt::PointingHandCursor);
    dismiss->setFocusPolicy(Qt::StrongFocus);
    dismiss->setAutoDefault(true);  // Enter dismisses as Space does
    QObject::connect(dismiss, &QPushButton::clicked, [notice = notice.toStdString()] { clearAudioNotice(notice); });
    line->addWidget(dismiss, 0, Qt::AlignTop);
    return strip;
}

}  // namespace

AudioNoticeBanner::AudioNoticeBanner(QWidget* window) : row_(new QWidget(window)) {
    row_->setObjectName("audioNotices");
    auto* column = new QVBoxLayout(row_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    row_->hide();
    // The notices may change on an audio thread; the strips change on Qt's.
    setAudioNoticeObserver([row = row_, this](const std::vector<std::string>& notices) {
        std::vector<QString> texts;
        for (const std::string& notice : notices) texts.push_back(QString::fromStdString(notice));
        QMetaObject::invokeMethod(
            row, [this, texts] { show(texts); }, Qt::QueuedConnection);
    });
}

AudioNoticeBanner::~AudioNoticeBanner() {
    setAudioNoticeObserver({});
    delete row_;
}

std::vector<QLabel*> AudioNoticeBanner::labels() const {
    std::vector<QLabel*> found;
    for (auto* strip : row_->findChildren<QWidget*>("audioNotice", Qt::FindDirectChildrenOnly)) {
        found.push_back(strip->findChild<QLabel*>());
    }
    return found;
}

std::vector<QPushButton*> AudioNoticeBanner::dismissButtons() const {
    std::vector<QPushButton*> found;
    for (auto* strip : row_->findChildren<QWidget*>("audioNotice", Qt::FindDirectChildrenOnly)) {
        found.push_back(strip->findChild<QPushButton*>("dismissNotice"));
    }
    return found;
}

void AudioNoticeBanner::show(const std::vector<QString>& notices) {
    if (!row_) return;
    // A strip dismissed from the keyboard hands the focus to the next one's
    // button, or to the window.
    const std::vector<QPushButton*> before = dismissButtons();
    int focusedAt = -1;
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i]->hasFocus()) focusedAt = static_cast<int>(i);
    }
    if (focusedAt >= 0) row_->window()->setFocus(Qt::OtherFocusReason);
    for (auto* strip : row_->findChildren<QWidget*>("audioNotice", Qt::FindDirectChildrenOnly)) delete strip;
    for (const QString& notice : notices) row_->layout()->addWidget(makeStrip(notice, row_));
    row_->setVisible(!notices.empty());
    const std::vector<QPushButton*> after = dismissButtons();
    if (focusedAt >= 0 && !after.empty()) {
        after[std::min(static_cast<size_t>(focusedAt), after.size() - 1)]->setFocus(Qt::TabFocusReason);
    }
}

}  // namespace platform::ui::qt
