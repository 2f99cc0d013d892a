#pragma once
// The gauge drawn as a horizontal scale: a track, the marked zone around the
// centre, ticks at the ends, the quarters and the centre, and the needle in
// the lamps' colours (green within the zone, amber outside it). A screen
// reader finds it as a level indicator (a progress bar) with the gauge's name,
// its value within its range, and its spoken value as text.
// Private to platform_ui_qt; main thread.

#include <QWidget>
#include <optional>

#include "platform/ui/Gauge.h"

namespace platform::ui::qt {

class GaugeWidget : public QWidget {
public:
    GaugeWidget(const QString& accessibleName, QWidget* parent);
    // Takes the needle, the scale and the spoken value from the model.
    void setGauge(const Gauge& gauge);

    // What the accessibility interface reports.
    const QString& spokenValue() const { return spokenValue_; }
    std::optional<float> value() const { return value_; }
    float minimum() const { return minimum_; }
    float maximum() const { return maximum_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The horizontal pixel of a value on the scale.
    double xOf(float value, const QRectF& track) const;

    std::optional<float> value_;
    std::optional<float> needle_;
    float minimum_ = -1.0f;
    float maximum_ = 1.0f;
    float zone_ = 0.0f;
    bool inZone_ = false;
    QString spokenValue_;
};

}  // namespace platform::ui::qt
