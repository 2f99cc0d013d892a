#include "platform/ui/qt/Widgets.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QString>

namespace platform::ui::qt {
namespace {

// Pixels of the ring a focused switch wears.
constexpr double kFocusRingWidth = 2.0;

}  // namespace

QColor colorOf(const std::string& text, const QColor& fallback) {
    if (text.empty()) return fallback;
    const QColor color(QString::fromStdString(text));
    return color.isValid() ? color : fallback;
}

QPixmap pixmapOf(const ImageRef& image) {
    if (!image) return {};
    const QString file = QString::fromStdString(image->path.string());
    QPixmap pixmap;
    if (!QPixmapCache::find(file, &pixmap)) {
        pixmap.load(file);
        QPixmapCache::insert(file, pixmap);
    }
    return pixmap;
}

BoxWidget::BoxWidget(const ElementStyle& style, double scale, QWidget* parent)
    : QWidget(parent), fill_(colorOf(style.background, Qt::transparent)), radius_(style.cornerRadius * scale) {}

void BoxWidget::paintEvent(QPaintEvent*) {
    if (fill_.alpha() == 0) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill_);
    painter.drawRoundedRect(rect(), radius_, radius_);
}

void PictureWidget::setPicture(const ImageRef& image) {
    image_ = image;
    pixmap_ = pixmapOf(image);
    update();
}

void PictureWidget::paintEvent(QPaintEvent*) {
    if (pixmap_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize fitted = pixmap_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target((width() - fitted.width()) / 2, (height() - fitted.height()) / 2, fitted.width(),
                       fitted.height());
    painter.drawPixmap(target, pixmap_);
}

ToggleSwitch::ToggleSwitch(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void ToggleSwitch::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void ToggleSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(hasFocus() ? QPen(palette::kText, kFocusRingWidth) : QPen(Qt::NoPen));
    const double inset = kFocusRingWidth;
    const QRectF track = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    const double radius = track.height() / 2.0;
    QColor fill = isChecked() ? palette::kAccent : palette::kTrack;
    if (!isEnabled()) fill = fill.darker(160);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, radius, radius);
    painter.setPen(Qt::NoPen);
    const double knob = track.height() - 4.0;
    const double x = isChecked() ? track.right() - knob - 2.0 : track.left() + 2.0;
    painter.setBrush(palette::kText);
    painter.drawEllipse(QRectF(x, track.top() + 2.0, knob, knob));
}

}  // namespace platform::ui::qt
