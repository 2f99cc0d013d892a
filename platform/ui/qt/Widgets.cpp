#include "platform/ui/qt/Widgets.h"

#include <QPainter>
#include <QPixmapCache>
#include <QString>

namespace platform::qt {

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
}

void ToggleSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF track = QRectF(rect()).adjusted(1, 1, -1, -1);
    const double radius = track.height() / 2.0;
    painter.setBrush(isChecked() ? palette::kAccent : palette::kTrack);
    painter.drawRoundedRect(track, radius, radius);
    const double knob = track.height() - 4.0;
    const double x = isChecked() ? track.right() - knob - 2.0 : track.left() + 2.0;
    painter.setBrush(palette::kText);
    painter.drawEllipse(QRectF(x, track.top() + 2.0, knob, knob));
}

}  // namespace platform::qt
