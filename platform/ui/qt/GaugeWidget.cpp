#include "platform/ui/qt/GaugeWidget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <algorithm>

#include "platform/ui/qt/GaugeColours.h"
#include "platform/ui/qt/SpokenPacer.h"

namespace platform::ui::qt {
namespace {

// Ticks at the ends, the quarters and the centre of the scale.
constexpr int kTickIntervals = 4;
// Proportions of the widget's height: a thin track across the middle, a
// needle standing almost the full height, ticks reaching above and below the
// track (the centre's twice as far).
constexpr double kTrackTop = 0.38;
constexpr double kTrackHeight = 0.24;
constexpr double kNeedleWidth = 0.2;
constexpr double kNeedleMargin = 0.08;
constexpr double kTickReach = 0.1;
constexpr double kTickWidth = 0.03;

// A level indicator whose value is the gauge's: read-only, within the scale.
// Spoken as a progress bar, the level role screen readers know (an
// "indicator" reaches them as a role they cannot name).
class GaugeAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit GaugeAccessible(GaugeWidget* widget) : QAccessibleWidget(widget, QAccessible::ProgressBar) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return gauge()->spokenValue();
        return QAccessibleWidget::text(kind);
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override {
        const auto value = gauge()->value();
        return value ? QVariant(static_cast<double>(*value)) : QVariant();
    }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return static_cast<double>(gauge()->maximum()); }
    QVariant minimumValue() const override { return static_cast<double>(gauge()->minimum()); }
    QVariant minimumStepSize() const override { return 0.0; }

private:
    GaugeWidget* gauge() const { return static_cast<GaugeWidget*>(widget()); }
};

// The widget has no meta-object of its own, so it is known by its type, not its class name.
QAccessibleInterface* gaugeAccessible(const QString&, QObject* object) {
    auto* gauge = dynamic_cast<GaugeWidget*>(object);
    return gauge ? new GaugeAccessible(gauge) : nullptr;
}

}  // namespace

GaugeWidget::GaugeWidget(const QString& accessibleName, QWidget* parent) : QWidget(parent) {
    // Again for each gauge: Qt forgets its factories when the application
    // object goes, and installing one twice adds it once.
    QAccessible::installFactory(gaugeAccessible);
    setAccessibleName(accessibleName);
}

void GaugeWidget::setGauge(const Gauge& gauge) {
    value_ = gauge.value();
    needle_ = gauge.needlePosition();
    minimum_ = gauge.minimumValue();
    maximum_ = gauge.maximumValue();
    zone_ = gauge.zone();
    inZone_ = gauge.isInZone();
    // Said at a pace a screen reader can follow: the offset changes with every tick.
    SpokenPacer::of(this, [this](const QString& spoken) {
        if (spoken == spokenValue_) return;
        spokenValue_ = spoken;
        setAccessibleDescription(spokenValue_);
        QAccessibleValueChangeEvent event(this, value_ ? QVariant(static_cast<double>(*value_)) : QVariant());
        QAccessible::updateAccessibility(&event);
    }).setText(QString::fromStdString(gauge.spokenValue()));
    update();
}

double GaugeWidget::xOf(float value, const QRectF& track) const {
    const double span = static_cast<double>(maximum_ - minimum_);
    const double share = span > 0.0 ? static_cast<double>(value - minimum_) / span : 0.5;
    return track.left() + share * track.width();
}

void GaugeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double h = height();
    const double needleWidth = std::max(3.0, h * kNeedleWidth);
    // Room at the ends for a pinned needle's full width.
    const QRectF track(needleWidth, h * kTrackTop, width() - 2.0 * needleWidth, h * kTrackHeight);

    painter.setPen(Qt::NoPen);
    painter.setBrush(kGaugeTrack);
    painter.drawRoundedRect(track, track.height() / 2.0, track.height() / 2.0);

    const float centre = (minimum_ + maximum_) / 2.0f;
    QColor zoneFill = kInZone;
    zoneFill.setAlpha(inZone_ ? kZoneLitAlpha : kZoneUnlitAlpha);
    painter.setBrush(zoneFill);
    const double zoneLeft = xOf(centre - zone_, track);
    painter.drawRect(QRectF(zoneLeft, track.top(), xOf(centre + zone_, track) - zoneLeft, track.height()));

    painter.setPen(QPen(kGaugeTick, std::max(1.0, h * kTickWidth)));
    for (int i = 0; i <= kTickIntervals; ++i) {
        const double x = track.left() + track.width() * i / kTickIntervals;
        const double reach = (i == kTickIntervals / 2 ? 2.0 : 1.0) * h * kTickReach;
        painter.drawLine(QPointF(x, track.top() - reach), QPointF(x, track.top()));
        painter.drawLine(QPointF(x, track.bottom()), QPointF(x, track.bottom() + reach));
    }

    if (!needle_) return;
    const double x = xOf(*needle_, track);
    painter.setPen(Qt::NoPen);
    painter.setBrush(inZone_ ? kInZone : kOutOfZone);
    const QRectF needle(x - needleWidth / 2.0, h * kNeedleMargin, needleWidth, h * (1.0 - 2.0 * kNeedleMargin));
    painter.drawRoundedRect(needle, needleWidth / 2.0, needleWidth / 2.0);
}

}  // namespace platform::ui::qt
