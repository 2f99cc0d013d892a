#include "platform/ui/qt/TraceWidget.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/ui/qt/GaugeColours.h"

namespace platform::ui::qt {
namespace {

// The line's width and the faint lines', of the widget's height.
constexpr double kLineWidth = 0.05;
constexpr double kGuideLineWidth = 0.015;
constexpr double kCornerRadius = 6.0;

}  // namespace

TraceWidget::TraceWidget(const QString& accessibleName, QWidget* parent) : QWidget(parent) {
    setAccessibleName(accessibleName);
    points_.reserve(Trace::kCapacity);
}

void TraceWidget::setTrace(const Trace& trace) {
    points_.clear();
    for (size_t i = 0; i < trace.size(); ++i) points_.push_back(trace.point(i));
    span_ = trace.span() > 0.0 ? trace.span() : 1.0;
    minimum_ = trace.minimumValue();
    maximum_ = trace.maximumValue();
    zone_ = trace.zone();
    const QString spoken = QString::fromStdString(trace.spokenValue());
    if (spoken != accessibleDescription()) setAccessibleDescription(spoken);
    update();
}

double TraceWidget::yOf(float value) const {
    const double span = static_cast<double>(maximum_ - minimum_);
    const double share = span > 0.0 ? static_cast<double>(std::clamp(value, minimum_, maximum_) - minimum_) / span : 0.5;
    // Sharp is up.
    return height() * (1.0 - share);
}

void TraceWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double h = height();
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGaugeTrack);
    painter.drawRoundedRect(rect(), kCornerRadius, kCornerRadius);

    const float centre = (minimum_ + maximum_) / 2.0f;
    QColor band = kInZone;
    band.setAlpha(kZoneUnlitAlpha);
    painter.setBrush(band);
    const double bandTop = yOf(centre + zone_);
    painter.drawRect(QRectF(0.0, bandTop, width(), yOf(centre - zone_) - bandTop));
    QColor faint = kGaugeTick;
    faint.setAlpha(kZoneUnlitAlpha);
    painter.setPen(QPen(faint, std::max(1.0, h * kGuideLineWidth)));
    painter.drawLine(QPointF(0.0, yOf(centre)), QPointF(width(), yOf(centre)));

    if (points_.empty()) return;
    const double latest = points_.back().time;
    const auto xOf = [&](double time) { return width() * (1.0 - (latest - time) / span_); };
    const double lineWidth = std::max(2.0, h * kLineWidth);
    for (size_t i = 1; i < points_.size(); ++i) {
        const Trace::Point& from = points_[i - 1];
        const Trace::Point& to = points_[i];
        if (!from.value || !to.value || latest - from.time > span_) continue;
        const bool inZone = std::abs(*to.value - centre) <= zone_;
        painter.setPen(QPen(inZone ? kInZone : kOutOfZone, lineWidth, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(xOf(from.time), yOf(*from.value)), QPointF(xOf(to.time), yOf(*to.value)));
    }
}

}  // namespace platform::ui::qt
